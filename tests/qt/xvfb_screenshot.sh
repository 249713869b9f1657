#!/usr/bin/env bash
# xvfb_screenshot.sh PROGRAM OUT.png INFO.txt
# Starts PROGRAM under Xvfb with openbox (for the title bar), waits for its
# window titled "PELKO", writes what X knows about that window to INFO.txt
# (xwininfo line, WM_NAME and _NET_WM_NAME), saves the screen as OUT.png and
# stops the program. Exit status 0 only when the window showed.
set -euo pipefail
program=$1 out=$2 info=$3
unset QT_QPA_PLATFORM
rm -f "$out" "$info"
exec xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  set -u
  program=$0 out=$1 info=$2
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 0.5
  "$program" >/dev/null 2>&1 &
  app=$!
  id=""
  for i in $(seq 1 100); do
    id=$(xwininfo -root -tree 2>/dev/null | grep "\"PELKO\"" | head -1 | awk "{print \$1}")
    [ -n "$id" ] && break
    sleep 0.1
  done
  status=1
  if [ -n "$id" ]; then
    sleep 1.5  # let it paint
    {
      xwininfo -root -tree | grep "\"PELKO\"" | head -1
      xprop -id "$id" WM_NAME _NET_WM_NAME
    } > "$info"
    import -window root "$out"
    status=0
  fi
  kill $app 2>/dev/null || true
  wait $app 2>/dev/null || true
  kill $wm 2>/dev/null || true
  exit $status
' "$program" "$out" "$info"
