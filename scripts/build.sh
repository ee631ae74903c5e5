#!/usr/bin/env bash
# Configures (first time only) and builds the three trees:
#   build/host   native: portable parts and their unit tests
#   build/win64  x86_64 Windows: the same installer, run by the tests under wine64
#   build/win32  i686 Windows: the release installer
# Usage: scripts/build.sh [host|win64|win32 ...]   (default: all three)
# Needs what scripts/setup.sh installs. Re-runs are incremental. Exits
# non-zero if any tree failed to configure or build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=${VX_JOBS:-$(nproc)}

die() { printf '[build] ERROR: %s\n' "$*" >&2; exit 1; }

tree_args() {
  case $1 in
    host) ;;
    win64) echo "-DCMAKE_TOOLCHAIN_FILE=$ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake"
           echo "-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/lib/wine/wine64" ;;
    win32) echo "-DCMAKE_TOOLCHAIN_FILE=$ROOT/cmake/toolchain-i686-w64-mingw32.cmake" ;;
    *) die "unknown tree '$1' (host, win64 or win32)" ;;
  esac
}

build_tree() {
  local tree=$1 dir="$ROOT/build/$1" args
  mapfile -t args < <(tree_args "$tree")
  # Configure only when the tree is new or its arguments changed; after
  # that ninja re-runs CMake by itself when a CMake file changes.
  local stamp="$dir/.vx-configure-args" want
  want=$(printf '%s\n' "${args[@]}")
  if [[ ! -f $dir/build.ninja || $(cat "$stamp" 2>/dev/null) != "$want" ]]; then
    echo "[build] configuring build/$tree"
    mkdir -p "$dir"
    if ! cmake -S "$ROOT" -B "$dir" -G Ninja "${args[@]}" >"$dir/configure.log" 2>&1; then
      cat "$dir/configure.log" >&2
      echo "[build] ERROR: configuring build/$tree failed" >&2
      return 1
    fi
    printf '%s' "$want" >"$stamp"
  fi
  echo "[build] building build/$tree"
  cmake --build "$dir" -j "$JOBS" || { echo "[build] ERROR: building build/$tree failed" >&2; return 1; }
}

command -v ninja >/dev/null || die "ninja is missing: run scripts/setup.sh as root"
mkdir -p "$ROOT/build"
trees=("$@")
((${#trees[@]})) || trees=(host win64 win32)
# Each tree is tried even when another fails, so one broken tree does not
# hide the state of the others.
broken=()
for t in "${trees[@]}"; do build_tree "$t" || broken+=("$t"); done
((${#broken[@]} == 0)) || die "failed to build: ${broken[*]}"
