#!/usr/bin/env bash
# Sets up, builds, then runs every test:
#   host    ctest in build/host (portable parts against the run-time double)
#   win     ctest -L win in build/win64: Windows unit tests under wine64,
#           sharing one Xvfb display, Wine prefix and wineserver
#   e2e     ctest -L e2e in build/win64: each test brings its own display
#           and prefix (tests/e2e/harness.py)
#   static  tests/static/check_pe.py on the release PE32 build/win32/vorlandix-setup.exe
# Every stage runs even when an earlier one fails; the exit code is non-zero
# if any failed. VX_JOBS sets ctest's parallelism (default: the core count).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=${VX_JOBS:-$(nproc)}
PY=/usr/bin/python3

"$ROOT/scripts/setup.sh"

export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

passed=()
failed=()
stage() {
  local name=$1
  shift
  printf '\n=== %s\n' "$name"
  if "$@"; then passed+=("$name"); else failed+=("$name"); fi
}

# A tree that does not build fails this stage; the tests of the others
# still run.
stage build "$ROOT/scripts/build.sh"
stage host ctest --no-tests=error --test-dir "$ROOT/build/host" --output-on-failure -j "$JOBS"
stage win "$PY" "$ROOT/tests/e2e/harness.py" session --work "$ROOT/build/win64/unit-work" -- \
  ctest --no-tests=error --test-dir "$ROOT/build/win64" -L '^win$' --output-on-failure -j "$JOBS"
stage e2e ctest --no-tests=error --test-dir "$ROOT/build/win64" -L '^e2e$' --output-on-failure -j "$JOBS"
stage static "$PY" "$ROOT/tests/static/check_pe.py" --machine i386 "$ROOT/build/win32/vorlandix-setup.exe"
stage resources "$PY" "$ROOT/tests/static/check_resources.py" "$ROOT/build/win32/vorlandix-setup.exe" \
  "$ROOT/build/win32/payload/Vorlandix.exe" "$ROOT/assets"

printf '\n=== summary\n'
for s in "${passed[@]}"; do printf 'passed: %s\n' "$s"; done
for s in "${failed[@]}"; do printf 'FAILED: %s\n' "$s"; done
printf 'stages: %d passed, %d failed\n' "${#passed[@]}" "${#failed[@]}"
((${#failed[@]} == 0))
