#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) to build and test the installer:
# packages, the zh_CN.UTF-8 locale, libjpeg-turbo and libpng cross-built
# for both mingw-w64 targets, and a template Wine prefix for the tests.
# Every step checks first whether it is already done, so a second run takes
# a second or two.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Pinned source packages and the SHA-256 of every file apt-get fetches for
# them. Bumping a version means new checksums and a new DEPS_KEY.
JPEG_SRC=libjpeg-turbo
JPEG_VER=1:2.1.5-2   # Debian epoch 1; file names leave it out
PNG_SRC=libpng1.6
PNG_VER=1.6.39-2+deb12u5
declare -A SHA256=(
  [libjpeg-turbo_2.1.5-2.dsc]=d718ead0dfbcbc8523665c02a7f7152e31039ded641d022868722623bb3b486d
  [libjpeg-turbo_2.1.5.orig.tar.gz]=254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c
  [libjpeg-turbo_2.1.5-2.debian.tar.xz]=cdb2433c2f7101345c1ffa14efb943787c675b86354691a32490845fe4bc9237
  [libpng1.6_1.6.39-2+deb12u5.dsc]=7b86211030a34deb6b0a2cd7e1d9db0fe92443fd30cab537fb89b1e7f7c9f188
  [libpng1.6_1.6.39.orig.tar.gz]=a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441
  [libpng1.6_1.6.39-2+deb12u5.debian.tar.xz]=ab14906eda9fddf14cbb1e589b9ba7439c22e233dc3c5e3cf9356c9625565a82
)
# Also the default of VX_DEPS_PREFIX in cmake/deps.cmake: keep them equal.
DEPS_KEY="jpeg-${JPEG_VER#*:}_png-${PNG_VER}_r2"
DEPS_ROOT=${VX_DEPS_ROOT:-/opt/vorlandix-deps}
DEPS_PREFIX="$DEPS_ROOT/$DEPS_KEY"
TRIPLETS=(i686-w64-mingw32 x86_64-w64-mingw32)
# Also the default in tests/e2e/harness.py and scripts/test.sh.
WINE_TEMPLATE=${VX_WINE_TEMPLATE:-$DEPS_ROOT/wine-template}
WINE64=/usr/lib/wine/wine64

PACKAGES=(
  # cross and native compilers, build tools
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  nasm cmake ninja-build make g++ dpkg-dev xz-utils doctest-dev libpng-dev
  # running and driving the Windows builds
  wine64 xvfb xdotool x11-utils xclip imagemagick fonts-wqy-zenhei locales
  python3 python3-pil
  # bench/run.sh: the empty reference installer whose size it measures
  nsis
  # inspecting what the installer produces
  liblnk-utils icoutils libimage-exiftool-perl pev librsvg2-bin
)

say() { printf '[setup] %s\n' "$*"; }
die() { printf '[setup] ERROR: %s\n' "$*" >&2; exit 1; }

[[ $(id -u) -eq 0 ]] || die "run as root (it installs Debian packages and writes to $DEPS_ROOT)"
[[ -r /etc/debian_version ]] || die "this script expects Debian 12 (bookworm)"
export DEBIAN_FRONTEND=noninteractive

APT_UPDATED=0
apt_update() {
  if [[ $APT_UPDATED -eq 0 ]]; then
    say "apt-get update"
    apt-get update -qq || die "apt-get update failed (is Debian's mirror reachable?)"
    APT_UPDATED=1
  fi
}

# --- packages ---------------------------------------------------------------
installed() { [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]; }
missing=()
for p in "${PACKAGES[@]}"; do installed "$p" || missing+=("$p"); done
if ((${#missing[@]})); then
  apt_update
  say "installing: ${missing[*]}"
  apt-get install -y -qq "${missing[@]}" >/dev/null || die "apt-get install failed for: ${missing[*]}"
fi
# The wine wrapper would pick the 32-bit loader if wine32 were installed,
# and 32-bit code cannot run on these machines anyway.
if installed wine32; then
  say "note: wine32 is installed; the tests call $WINE64 directly and never use it"
fi

# --- locale -----------------------------------------------------------------
has_zh_locale() { [[ $'\n'$(locale -a 2>/dev/null)$'\n' == *$'\nzh_CN.utf8\n'* ]]; }
if ! has_zh_locale; then
  say "generating the zh_CN.UTF-8 locale"
  if grep -q '^# *zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
  fi
  locale-gen >/dev/null || die "locale-gen failed"
  has_zh_locale || die "zh_CN.UTF-8 is still missing after locale-gen"
fi

# --- cross-built libjpeg-turbo and libpng -----------------------------------
deps_done() { [[ -f "$DEPS_PREFIX/$1/.complete" ]]; }

need_deps=0
for t in "${TRIPLETS[@]}"; do deps_done "$t" || need_deps=1; done

enable_deb_src() {
  local f=/etc/apt/sources.list.d/debian.sources
  if [[ -f $f ]] && grep -q '^Types: *deb *$' "$f"; then
    say "enabling deb-src in $f"
    sed -i 's/^Types: *deb *$/Types: deb deb-src/' "$f"
    APT_UPDATED=0
    apt_update
  elif ! grep -rqs '^\(Types:.*deb-src\|deb-src \)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    die "no deb-src entry found and $f is not in the expected deb822 form; add deb-src for bookworm and bookworm-security"
  fi
  # Source indexes are only there after an update with deb-src enabled.
  if ! compgen -G '/var/lib/apt/lists/*_source_Sources*' >/dev/null; then apt_update; fi
}

fetch_sources() {
  local dir=$1
  mkdir -p "$dir"
  local f ok=1
  for f in "${!SHA256[@]}"; do [[ -f "$dir/$f" ]] || ok=0; done
  if [[ $ok -eq 0 ]]; then
    enable_deb_src
    say "downloading source packages $JPEG_SRC=$JPEG_VER $PNG_SRC=$PNG_VER"
    # A stale source index may not know the pinned versions: update once and retry.
    (cd "$dir" && apt-get source -qq --download-only "$JPEG_SRC=$JPEG_VER" "$PNG_SRC=$PNG_VER") ||
      { apt_update && (cd "$dir" && apt-get source -qq --download-only "$JPEG_SRC=$JPEG_VER" "$PNG_SRC=$PNG_VER"); } ||
      die "apt-get source could not fetch $JPEG_SRC=$JPEG_VER and $PNG_SRC=$PNG_VER (pinned versions gone from the mirror? then bump them and their checksums in $0)"
  fi
  for f in "${!SHA256[@]}"; do
    [[ -f "$dir/$f" ]] || die "expected $dir/$f after apt-get source"
    local got
    got=$(sha256sum "$dir/$f" | cut -d' ' -f1)
    [[ $got == "${SHA256[$f]}" ]] || die "checksum mismatch for $f: got $got, expected ${SHA256[$f]}"
  done
}

# unpack <dsc> <dir>: Debian's patches (security fixes for libpng) applied.
unpack() {
  rm -rf "$2"
  dpkg-source --no-check -x "$1" "$2" >/dev/null || die "dpkg-source could not unpack $1"
}

# Built for size: every function and datum in its own section, so that the
# installer's --gc-sections keeps only the decoding it calls; msvcrt's own
# printf rather than MinGW's larger one (only error texts use it). The
# i686 build also leaves out the DWARF unwind tables, which only C++
# exceptions would read (x86_64's longjmp unwinds through SEH tables, so
# those stay).
lib_cflags() {
  local flags="-ffunction-sections -fdata-sections -D__USE_MINGW_ANSI_STDIO=0"
  [[ $1 == i686-* ]] && flags+=" -fno-asynchronous-unwind-tables"
  printf '%s' "$flags"
}

# build_one <name> <source> <triplet> <prefix> <extra C flags> <cmake args...>
build_one() {
  local name=$1 src=$2 triplet=$3 prefix=$4 cflags
  cflags="$(lib_cflags "$3") $5"
  shift 5
  local bdir="$WORK/build-$name-$triplet" log="$LOGS/$name-$triplet.log"
  say "building $name for $triplet"
  cmake -S "$src" -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$triplet.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_C_FLAGS="$cflags" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF "$@" >"$log" 2>&1 ||
    die "configuring $name for $triplet failed, see $log"
  cmake --build "$bdir" -j "$(nproc)" >>"$log" 2>&1 || die "building $name for $triplet failed, see $log"
  cmake --install "$bdir" >>"$log" 2>&1 || die "installing $name for $triplet failed, see $log"
}

if [[ $need_deps -eq 1 ]]; then
  CACHE=/var/cache/vorlandix-deps/$DEPS_KEY
  LOGS=$CACHE/logs
  mkdir -p "$LOGS"
  fetch_sources "$CACHE/src"
  WORK=$(mktemp -d /tmp/vorlandix-deps.XXXXXX)
  trap 'rm -rf "$WORK"' EXIT
  unpack "$CACHE/src/${JPEG_SRC}_${JPEG_VER#*:}.dsc" "$WORK/jpeg"
  unpack "$CACHE/src/${PNG_SRC}_${PNG_VER}.dsc" "$WORK/png"
  for t in "${TRIPLETS[@]}"; do
    deps_done "$t" && continue
    prefix="$DEPS_PREFIX/$t"
    rm -rf "$prefix"
    # Decoder only: no SIMD (its dispatch links every encoder and decoder
    # kernel, about 200 KB, for pictures that decode in milliseconds), no
    # arithmetic coding (no picture of the installer uses it), and no
    # JPEGMEM lookup: the installer reads no environment.
    build_one jpeg "$WORK/jpeg" "$t" "$prefix" -DNO_GETENV \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
      -DWITH_SIMD=OFF -DWITH_ARITH_ENC=OFF -DWITH_ARITH_DEC=OFF
    # Read support only (cmake/png-read-only.dfa).
    build_one png "$WORK/png" "$t" "$prefix" "" \
      -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
      -DPNG_FRAMEWORK=OFF -DSKIP_INSTALL_PROGRAMS=ON -DDFA_XTRA="$ROOT/cmake/png-read-only.dfa"
    for lib in libjpeg.a libpng16.a; do
      [[ -f "$prefix/lib/$lib" ]] || die "$prefix/lib/$lib missing after the build"
    done
    printf '%s\n' "$DEPS_KEY" >"$prefix/.complete"
  done
  rm -rf "$WORK"
  trap - EXIT
fi

# --- template Wine prefix ---------------------------------------------------
# The revision after the Wine version changes when the template's settings do.
wine_version="$("$WINE64" --version) template-2"
if [[ $(cat "$WINE_TEMPLATE/.complete" 2>/dev/null) != "$wine_version" ]]; then
  say "creating the template Wine prefix $WINE_TEMPLATE ($wine_version)"
  rm -rf "$WINE_TEMPLATE" "$WINE_TEMPLATE.tmp"
  mkdir -p "$WINE_TEMPLATE.tmp"
  (
    export WINEPREFIX="$WINE_TEMPLATE.tmp" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    unset DISPLAY
    "$WINE64" wineboot -i >/dev/null 2>&1 || exit 1
    # The virtual displays run no window manager: Wine then waits two
    # seconds on every hidden window for a manager's acknowledgement, unless
    # it manages the windows itself.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || exit 1
    /usr/lib/wine/wineserver -w
  ) || die "wineboot -i failed for $WINE_TEMPLATE.tmp"
  [[ -f "$WINE_TEMPLATE.tmp/system.reg" ]] || die "wineboot left no registry in $WINE_TEMPLATE.tmp"
  printf '%s\n' "$wine_version" >"$WINE_TEMPLATE.tmp/.complete"
  mv "$WINE_TEMPLATE.tmp" "$WINE_TEMPLATE"
fi

say "ready: deps in $DEPS_PREFIX, Wine template in $WINE_TEMPLATE"
