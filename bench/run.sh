#!/usr/bin/env bash
# The installer's benchmark: sets up, builds both Windows trees and the
# bench programs, builds the empty makensis reference installer, then
# measures everything in one run (bench/run.py) and prints one table.
# Usage: bench/run.sh [runs]   (default 15; medians over the runs)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$ROOT/scripts/setup.sh" >&2
"$ROOT/scripts/build.sh" win32 win64 >&2
mkdir -p "$ROOT/build/bench"
# makensis resolves the licence file from the script's folder.
(cd "$ROOT/bench" && makensis -V1 -DOUT="$ROOT/build/bench/reference.exe" reference.nsi) >&2
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
exec /usr/bin/python3 "$ROOT/bench/run.py" "$ROOT" "$ROOT/build/bench/reference.exe" "${1:-15}"
