#!/usr/bin/env bash
# Sets up, builds, then starts the 64-bit installer (build/win64/vorlandix-setup.exe)
# under wine64 with the zh_CN.UTF-8 locale.
#   With DISPLAY set: in a real window, in the Wine prefix build/run-prefix
#   (kept between runs, so what the installer wrote can be looked at).
#   Without DISPLAY: on a fresh 1024x768x24 Xvfb display; takes a screenshot
#   about 3 s after the first window appears and prints its path (in build/).
# VX_RUN_EXE overrides the executable; VX_RUN_SCREEN the virtual screen size.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
EXE=${VX_RUN_EXE:-$ROOT/build/win64/vorlandix-setup.exe}
PY=/usr/bin/python3

"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh" win64
[[ -f $EXE ]] || { echo "[run] ERROR: $EXE was not built" >&2; exit 1; }

export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [[ -n ${DISPLAY:-} ]]; then
  prefix=$ROOT/build/run-prefix
  if [[ ! -f $prefix/.complete ]]; then
    rm -rf "$prefix"
    "$PY" -c 'import sys; sys.path.insert(0, sys.argv[1]); import harness; harness.copy_prefix(harness.WINE_TEMPLATE, sys.argv[2])' \
      "$ROOT/tests/e2e" "$prefix"
  fi
  echo "[run] starting $EXE on $DISPLAY (prefix $prefix)"
  WINEPREFIX=$prefix exec /usr/lib/wine/wine64 "$EXE"
fi

echo "[run] no DISPLAY: starting $EXE on a virtual screen"
shot=$("$PY" "$ROOT/tests/e2e/harness.py" show --work "$ROOT/build/run-xvfb" \
  --screen "${VX_RUN_SCREEN:-1024x768}" --exe "$EXE" --delay 3)
echo "[run] screenshot: ${shot%%$'\n'*}"
[[ $shot == *$'\n'* ]] && echo "[run] ${shot#*$'\n'}"
exit 0
