#!/bin/sh
# Renders the installer artwork from the SVG sources in art/ into the
# committed picture files (pictures/*.jpg, pictures/*.png) and the
# application icon (app_icon.ico), then checks every output's size and format.
#
#   sh assets/render.sh          render everything and check it
#   sh assets/render.sh --check  only check the committed files
#
# Needs: rsvg-convert (librsvg2-bin), convert/identify (imagemagick),
# icotool (icoutils), fonts-wqy-zenhei, fonts-dejavu-core.
set -eu

HERE=$(cd "$(dirname "$0")" && pwd)
ART="$HERE/art"
OUT="$HERE/pictures"
ICON="$HERE/app_icon.ico"

die() { echo "render.sh: $*" >&2; exit 1; }

# ---------------------------------------------------------------------------
# Button state palette, shared by every button so the states look alike.
# Each entry is "FACE SHINE EDGE": main colour, top of the face gradient,
# border / bottom lip.
GREEN_NORMAL="#21ad55 #38c46a #178a44"
GREEN_HOVER="#2fc263 #4fd47c #1f9a4e"
GREEN_PRESSED="#179346 #1c9e4d #0f7335"
GREY_NORMAL="#ededed #fbfbfb #c3c3c3"
GREY_HOVER="#dedede #ececec #b0b0b0"
GREY_PRESSED="#d2d2d2 #dcdcdc #a2a2a2"
# The close cross uses only FACE: green at rest, red while pressed.
CLOSE_PRESSED="#e0382e #e0382e #e0382e"

# ---------------------------------------------------------------------------
# Output encoders. JPEG: baseline, YCbCr with 3 components even for grey
# pictures, quality 90. Small pictures keep full chroma (captions stay crisp);
# the banners use 4:2:0 to stay small. PNG: 8-bit RGB, no alpha, no
# interlacing, no time stamps.
to_jpg() { # src.png dst.jpg sampling
    convert "$1" -background white -alpha remove -alpha off -strip \
        -colorspace sRGB -type TrueColor -interlace none \
        -sampling-factor "$3" -quality 90 "JPEG:$2"
}
to_png() { # src.png dst.png
    convert "$1" -background white -alpha remove -alpha off -strip \
        -type TrueColor -interlace none \
        -define png:color-type=2 -define png:bit-depth=8 \
        -define png:exclude-chunks=date,time "PNG24:$2"
}

# Renders an SVG with the given placeholder values to a PNG with alpha.
raster() { # svg w h dst.png face shine edge
    sed -e "s/@FACE@/$5/g" -e "s/@SHINE@/$6/g" -e "s/@EDGE@/$7/g" \
        -e "s/@H@/$3/g" "$1" > "$TMP/in.svg"
    rsvg-convert -w "$2" -h "$3" -f png -o "$4" "$TMP/in.svg"
}

# button NAME W H FORMAT STATE=PALETTE ...  e.g. button back 55 26 jpg normal="$GREY_NORMAL"
# An optional height override per state is given as STATE@HEIGHT=...
button() {
    name=$1 w=$2 h=$3 fmt=$4
    shift 4
    for entry in "$@"; do
        state=${entry%%=*}
        colours=${entry#*=}
        sh=$h
        case $state in *@*) sh=${state#*@}; state=${state%@*} ;; esac
        # shellcheck disable=SC2086
        set -- $colours
        raster "$ART/btn_$name.svg" "$w" "$sh" "$TMP/b.png" "$1" "$2" "$3"
        if [ "$fmt" = png ]; then
            to_png "$TMP/b.png" "$OUT/${name}_$state.png"
        else
            to_jpg "$TMP/b.png" "$OUT/${name}_$state.jpg" 1x1
        fi
    done
}

render() {
    for tool in rsvg-convert convert identify icotool fc-match; do
        command -v "$tool" >/dev/null 2>&1 || die "missing tool: $tool"
    done
    # Captions must come out in WenQuanYi Zen Hei, not in a fallback font.
    fc-match "WenQuanYi Zen Hei" file | grep -q wqy-zenhei \
        || die "font WenQuanYi Zen Hei (fonts-wqy-zenhei) is not installed"
    fc-match "DejaVu Sans:bold" file | grep -q DejaVuSans-Bold \
        || die "font DejaVu Sans Bold (fonts-dejavu-core) is not installed"

    TMP=$(mktemp -d)
    trap 'rm -rf "$TMP"' EXIT INT TERM
    mkdir -p "$OUT"

    for b in banner_welcome banner_product; do
        rsvg-convert -w 588 -h 278 -f png -o "$TMP/$b.png" "$ART/$b.svg"
        to_jpg "$TMP/$b.png" "$OUT/$b.jpg" 2x2
    done

    button close 35 35 jpg \
        normal="$GREEN_NORMAL" hover="$GREEN_HOVER" pressed="$CLOSE_PRESSED"
    button quick 252 64 jpg \
        normal="$GREEN_NORMAL" hover="$GREEN_HOVER" pressed="$GREEN_PRESSED"
    button custom 98 17 jpg \
        normal="$GREEN_NORMAL" hover="$GREEN_HOVER" pressed="$GREEN_PRESSED"
    # The hover pictures of these two are 34 rows: the installer shows the
    # top 32, the last two rows are plain white below the button.
    button next 82 32 png normal="$GREY_NORMAL" hover@34="$GREY_HOVER"
    button browse 82 32 jpg normal="$GREY_NORMAL" hover@34="$GREY_HOVER"
    button back 55 26 jpg \
        normal="$GREY_NORMAL" hover="$GREY_HOVER" pressed="$GREY_PRESSED"
    button install 81 26 jpg \
        normal="$GREEN_NORMAL" hover="$GREEN_HOVER" pressed="$GREEN_PRESSED"
    button finish 160 54 jpg \
        normal="$GREY_NORMAL" hover="$GREY_HOVER" pressed="$GREY_PRESSED"
    button trynow 160 54 jpg \
        normal="$GREEN_NORMAL" hover="$GREEN_HOVER" pressed="$GREEN_PRESSED"

    # Application icon: one 64x64 image, 32 bits per pixel with alpha.
    rsvg-convert -w 64 -h 64 -f png -o "$TMP/icon.png" "$ART/app_icon.svg"
    convert "$TMP/icon.png" -strip -define png:color-type=6 \
        -define png:bit-depth=8 -define png:exclude-chunks=date,time \
        "PNG32:$TMP/icon32.png"
    icotool -c -o "$ICON" "$TMP/icon32.png"
}

# ---------------------------------------------------------------------------
# Checks. Every expected file, its exact size and its encoding.
fail=0
bad() { echo "render.sh: $*" >&2; fail=1; }

check_jpg() { # file w h
    f="$OUT/$1"
    [ -f "$f" ] || { bad "missing $1"; return; }
    got=$(identify -format '%m %w %h %[jpeg:colorspace] %[interlace]' "$f" 2>/dev/null || true)
    [ "$got" = "JPEG $2 $3 2 None" ] || bad "$1: got '$got', want 'JPEG $2 $3 2 None' (YCbCr, baseline)"
    comps=$(identify -format '%[channels]' "$f" 2>/dev/null || true)
    case $comps in srgb|rgb) ;; *) bad "$1: channels '$comps', want 3-component colour" ;; esac
}
check_png() { # file w h
    f="$OUT/$1"
    [ -f "$f" ] || { bad "missing $1"; return; }
    got=$(file -b "$f")
    want="PNG image data, $2 x $3, 8-bit/color RGB, non-interlaced"
    [ "$got" = "$want" ] || bad "$1: got '$got', want '$want'"
}
check() {
    check_jpg banner_welcome.jpg 588 278
    check_jpg banner_product.jpg 588 278
    for s in normal hover pressed; do
        check_jpg "close_$s.jpg" 35 35
        check_jpg "quick_$s.jpg" 252 64
        check_jpg "custom_$s.jpg" 98 17
        check_jpg "back_$s.jpg" 55 26
        check_jpg "install_$s.jpg" 81 26
        check_jpg "finish_$s.jpg" 160 54
        check_jpg "trynow_$s.jpg" 160 54
    done
    check_png next_normal.png 82 32
    check_png next_hover.png 82 34
    check_jpg browse_normal.jpg 82 32
    check_jpg browse_hover.jpg 82 34
    n=$(find "$OUT" -type f | wc -l)
    [ "$n" -eq 27 ] || bad "pictures/ holds $n files, want 27"

    [ -f "$ICON" ] || { bad "missing app_icon.ico"; return; }
    got=$(icotool -l "$ICON")
    case $got in
        "--icon --index=1 --width=64 --height=64 --bit-depth=32 --palette-size=0") ;;
        *) bad "app_icon.ico: got '$got', want one 64x64 32-bit image" ;;
    esac
}

case ${1:-} in
    --check) ;;
    "") render ;;
    *) die "usage: render.sh [--check]" ;;
esac
check
[ "$fail" -eq 0 ] || exit 1
echo "render.sh: all pictures and the icon are in order"
