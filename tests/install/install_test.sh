#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs
# from there, in a bare environment with HOME in a temporary folder, as a
# user of the installed copy runs them:
# - every file of the install is there, and the desktop entry and AppStream
#   metadata pass their validators;
# - the program folder is $XDG_DATA_HOME/pelko (~/.local/share/pelko when
#   unset), made private on the first start; PELKO_HOME wins; a build-tree
#   copy keeps its own folder;
# - a backup and a restore through the installed pelko-script keep their
#   files there and leave the installed folders alone;
# - every command and option the programs' usage texts name is in their
#   manual pages.
# usage: install_test.sh SOURCE_DIR BUILD_DIR     installs BUILD_DIR first
#        install_test.sh SOURCE_DIR --installed PREFIX   an installed tree
#                                                 (the Debian package's)
set -euo pipefail
source=$1
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
same() { [ "$1" = "$2" ] || fail "$3: got '$1', want '$2'"; }

build=""
if [ "$2" = --installed ]; then
  prefix=$3
else
  build=$2 prefix=$work/usr
  cmake --install "$build" --prefix "$prefix" >/dev/null
fi

for f in bin/pelko-floppy bin/pelko-lha bin/pelko-script \
  share/applications/pelko.desktop share/icons/hicolor/scalable/apps/pelko.svg \
  share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/pelko.png \
  share/man/man1/{pelko,pelko-floppy,pelko-lha,pelko-script}.1 \
  share/doc/pelko/README.md share/doc/pelko/LICENSE share/pelko/installed; do
  [ -f "$prefix/$f" ] || fail "the install has no $f"
done
if [ -n "$build" ] && [ -x "$build/bin/pelko" ] && [ ! -x "$prefix/bin/pelko" ]; then
  fail "pelko is not installed"
fi
metainfo=$(ls "$prefix"/share/metainfo/*.metainfo.xml)
desktop-file-validate "$prefix/share/applications/pelko.desktop"
appstreamcli validate --no-net --pedantic "$metainfo" >/dev/null ||
  fail "$(appstreamcli validate --no-net --pedantic "$metainfo")"

# The installed programs, run as a user runs them.
mkdir -p "$work/home"
user() { env -i HOME="$work/home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"; }
folder=$work/home/.local/share/pelko
same "$(user "$prefix/bin/pelko-floppy" home)" "$folder" "the installed program folder"
[ -d "$folder" ] || fail "the program folder was not made on the first start"
same "$(stat -c %a "$folder")" 700 "the program folder's permissions"
same "$(user XDG_DATA_HOME="$work/xdg" "$prefix/bin/pelko-floppy" home)" "$work/xdg/pelko" \
  "the program folder under XDG_DATA_HOME"
mkdir "$work/own"
same "$(user PELKO_HOME="$work/own" "$prefix/bin/pelko-floppy" home)" "$work/own" \
  "the program folder PELKO_HOME names"
if [ -n "$build" ]; then
  same "$(user "$build/bin/pelko-floppy" home)" "$(cd "$build/bin" && pwd -P)" \
    "the program folder of a build-tree copy"
fi

# A backup and a restore round trip through the installed pelko-script.
user "$prefix/bin/pelko-floppy" format "$work/disk.img" --label BACKUP
user "$prefix/bin/pelko-floppy" insert "$work/disk.img"
same "$(readlink "$folder/A.img")" "$work/disk.img" "drive A: of the installed copy"
mkdir -p "$work/data/docs"
seq 1 5000 >"$work/data/docs/numbers.txt"
printf 'memo\r\n' >"$work/data/memo.txt"
cp -R "$work/data" "$work/expected"
printf 'C:%s\r\n' "$(printf %s "$work/data" | tr / '\\')" >"$folder/BACKUP.txt"
head -c 515 /dev/zero >"$folder/PELKO.opt"
printf 'press 1001\nanswer YES\n' >"$work/backup.script"
printf 'press 1002\n' >"$work/restore.script"
user "$prefix/bin/pelko-script" "$work/backup.script" >"$work/backup.out" ||
  fail "the backup failed: $(cat "$work/backup.out")"
user "$prefix/bin/pelko-floppy" ls "$work/disk.img" | grep -q -i ' archive.lzh$' ||
  fail "the floppy holds no archive"
rm -r "$work/data"
user "$prefix/bin/pelko-script" "$work/restore.script" >"$work/restore.out" ||
  fail "the restore failed: $(cat "$work/restore.out")"
diff -r "$work/expected" "$work/data" || fail "the restore differs from what was backed up"
same "$(find "$prefix" -newer "$work/backup.script" | wc -l)" 0 "files written into the install"

# Every command and option of the usage texts is in the manual pages: each
# command in the synopsis, each option anywhere (troff writes "-" as "\-").
man_has() { grep -q -F -- "$(printf %s "$2" | sed 's/-/\\-/g')" "$prefix/share/man/man1/$1"; }
options() { grep -o -E '(^|[][ (|;])-{1,2}[a-z][a-z0-9]*' | grep -o -E -- '-.*' | sort -u; }
# usage_in_man TOOL COMMAND_PATTERN: the tool's commands (picked from its
# usage text by the sed pattern) and options all stand in its page.
usage_in_man() {
  local usage
  usage=$("$prefix/bin/$1" 2>&1 || true)
  for command in $(sed -n "$2" <<<"$usage"); do
    man_has "$1.1" ".B $1 $command" || fail "$1.1 lacks '$command'"
  done
  for option in $(options <<<"$usage"); do
    man_has "$1.1" "$option" || fail "$1.1 lacks '$option'"
  done
}
usage_in_man pelko-floppy 's/^ *\(usage: \)\{0,1\}pelko-floppy \([a-z]*\).*/\2/p'
usage_in_man pelko-lha 's/^  \([a-z]\) ARCHIVE.*/\1/p'
for step in $(grep -o -E '^\| `[a-z]+' "$source/tools/pelko-script/README.md" | cut -c4-); do
  grep -q -E "^\.(B|BI|BR) $step( |$)" "$prefix/share/man/man1/pelko-script.1" ||
    fail "pelko-script.1 lacks the step '$step'"
done
echo "install test passed"
