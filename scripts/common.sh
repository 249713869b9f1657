# Shared by scripts/run and scripts/test: install what is missing, then build.
# shellcheck shell=bash
set -euo pipefail
PELKO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PELKO_BUILD=${PELKO_BUILD:-$PELKO_ROOT/build}

pelko_install_packages() {
  local wanted missing=()
  wanted=$(grep -v -E '^\s*(#|$)' "$PELKO_ROOT/scripts/packages.txt")
  for p in $wanted; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# pelko_build [BUILD_DIR] [extra cmake args...]
pelko_build() {
  local dir=${1:-$PELKO_BUILD}
  shift || true
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$PELKO_ROOT" -B "$dir" -G Ninja "$@"
  fi
  cmake --build "$dir" -j "$(nproc)"
}
