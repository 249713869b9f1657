#!/usr/bin/env bash
# xvfb_screenshot.sh PROGRAM OUT.png INFO.txt
# Starts PROGRAM under Xvfb with openbox (for the title bar), waits for its
# window titled "PELKO" and for that window to be painted, writes what X
# knows about the window to INFO.txt (xwininfo line, WM_NAME and
# _NET_WM_NAME), saves the screen as OUT.png and stops the program. Exit
# status 0 only when the window showed. Every wait is for an event (the
# window manager ready, the window there, the window painted), never for a
# length of time, so a busy machine only makes it slower; the caller's
# timeout ends a program that never shows.
set -euo pipefail
program=$1 out=$2 info=$3
unset QT_QPA_PLATFORM
rm -f "$out" "$info"
exec xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  set -u
  program=$0 out=$1 info=$2
  # The window manager must have finished starting before the window maps:
  # a window mapped while openbox still starts up can stay unmapped. Openbox
  # runs its --startup command once it is ready.
  ready=$(mktemp -u)
  openbox --startup "touch $ready" >/dev/null 2>&1 &
  wm=$!
  until [ -e "$ready" ]; do
    kill -0 $wm 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$ready"
  "$program" >/dev/null 2>&1 &
  app=$!
  id=""
  while kill -0 $app 2>/dev/null; do
    id=$(xwininfo -root -tree 2>/dev/null | grep "\"PELKO\"" | head -1 | awk "{print \$1}")
    [ -n "$id" ] && break
    sleep 0.05
  done
  status=1
  if [ -n "$id" ]; then
    # Painted: the window area of the screen holds more than a few colours.
    while kill -0 $app 2>/dev/null; do
      import -window root "$out"
      colours=$(convert "$out" -crop 320x280+0+0 +repage -format %k info: 2>/dev/null || echo 0)
      [ "$colours" -gt 16 ] && status=0 && break
      sleep 0.05
    done
    {
      xwininfo -root -tree | grep "\"PELKO\"" | head -1
      xprop -id "$id" WM_NAME _NET_WM_NAME
    } > "$info"
  fi
  kill $app 2>/dev/null || true
  wait $app 2>/dev/null || true
  kill $wm 2>/dev/null || true
  exit $status
' "$program" "$out" "$info"
