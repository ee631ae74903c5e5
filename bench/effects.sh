#!/usr/bin/env bash
# Builds the effects benchmark in the x86_64 tree and runs it under wine64 on
# a private Xvfb display and Wine prefix; prints its table.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[[ -f $ROOT/build/win64/build.ninja ]] || "$ROOT/scripts/build.sh" win64 >&2
cmake --build "$ROOT/build/win64" --target effects-bench >&2
exec /usr/bin/python3 "$ROOT/tests/e2e/harness.py" session --work "$ROOT/build/win64/bench-work/effects" -- \
  /usr/lib/wine/wine64 "$ROOT/build/win64/effects-bench.exe"
