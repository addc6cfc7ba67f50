#!/usr/bin/env bash
# Regenerates every picture, pointer, icon and sound of the program:
#   resources/art/*.svg  ->  resources/images/{bar,cursors,icon,exit,options,about}/
# The pictures of the windows come twice: at their size, and at double size
# as NAME@2x.EXT for desktops that draw windows at double size.
#   sox synthesis        ->  resources/Click/Click1.wav, Click2.wav
# Needs rsvg-convert (librsvg2-bin), ImageMagick's convert, sox and python3.
# Safe to run again: the outputs carry no time stamps, so an unchanged source
# gives byte-identical files.
set -euo pipefail

cd "$(dirname "$0")/.."
ART=resources/art
IMG=resources/images
SND=resources/Click

for tool in rsvg-convert convert identify sox python3; do
    command -v "$tool" >/dev/null || { echo "render-artwork: $tool is missing" >&2; exit 1; }
done

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# Colours shared by the drawings. Bar pictures are drawn in INK (the exit symbol
# in BLUE) on BG, the bar's colour; the lit variant swaps both for LIT.
BG='#404040'
INK='#d8d8d8'
BLUE='#3c8dff'
LIT='#ff2d2d'

mkdir -p "$IMG"/{bar,cursors,icon,exit,options,about} "$SND"

# render SVG W H OUT.png: rasterise at exactly W x H.
render() { rsvg-convert -w "$2" -h "$3" "$1" -o "$4"; }

# png IN OUT: RGBA PNG without time stamps or other metadata.
png() { convert "$1" -strip -define png:exclude-chunks=date,time "PNG32:$2"; }

# jpeg IN OUT: baseline JPEG, 72 dpi, flattened on the bar grey, always three
# colour channels (grey drawings too). Full-resolution colour (1x1 sampling)
# keeps thin red and blue lines sharp at these small sizes.
jpeg() {
    convert "$1" -background "$BG" -flatten -strip -type TrueColor \
        -sampling-factor 1x1 -interlace none -density 72 -units PixelsPerInch \
        -quality 92 "JPEG:$2"
}

# expect FILE WxH: stop if a picture came out at the wrong size.
expect() {
    local got
    got=$(identify -format '%wx%h' "$1[0]")
    [[ $got == "$2" ]] || { echo "render-artwork: $1 is $got, expected $2" >&2; exit 1; }
}

# ---- Bar: ten buttons, normal and lit, and the background strip ----------
declare -A BUTTON_SIZE=(
    [0]=26x32 [1]=45x50 [2]=45x52 [3]=45x50 [4]=45x50
    [5]=45x50 [6]=45x50 [7]=45x28 [8]=45x33 [9]=45x50
)
# jpeg_at SVG W H OUT: OUT as a JPEG at W x H and OUT@2x at double that.
jpeg_at() {
    local out2x="${4%.*}@2x.${4##*.}"
    render "$1" "$2" "$3" "$TMP/one.png"
    jpeg "$TMP/one.png" "$4"
    expect "$4" "$2x$3"
    render "$1" $(($2 * 2)) $(($3 * 2)) "$TMP/two.png"
    jpeg "$TMP/two.png" "$out2x"
    expect "$out2x" "$(($2 * 2))x$(($3 * 2))"
}

for n in 0 1 2 3 4 5 6 7 8 9; do
    size=${BUTTON_SIZE[$n]}
    w=${size%x*} h=${size#*x}
    src="$ART/bar-button$n.svg"
    jpeg_at "$src" "$w" "$h" "$IMG/bar/button$n.jpg"
    # The lit picture is the same drawing in red, unless it has its own source.
    lit_src="$ART/bar-button$n-lit.svg"
    if [[ ! -f $lit_src ]]; then
        lit_src="$TMP/b$n-lit.svg"
        sed -e "s/$INK/$LIT/g" -e "s/$BLUE/$LIT/g" "$src" > "$lit_src"
    fi
    jpeg_at "$lit_src" "$w" "$h" "$IMG/bar/button$n-lit.jpg"
done
jpeg_at "$ART/bar-background.svg" 54 1 "$IMG/bar/background.jpg"

# ---- Pointers -------------------------------------------------------------
render "$ART/cursor-hand.svg" 32 32 "$TMP/hand.png"
png "$TMP/hand.png" "$IMG/cursors/hand.png"
render "$ART/cursor-smile.svg" 32 32 "$TMP/smile.png"
png "$TMP/smile.png" "$IMG/cursors/smile.png"
cat > "$IMG/cursors/HOTSPOTS.txt" <<'EOF'
# pointer picture, hot spot x, hot spot y (pixels from the top-left corner)
hand.png 9 1
smile.png 16 16
EOF
expect "$IMG/cursors/hand.png" 32x32
expect "$IMG/cursors/smile.png" 32x32

# ---- Program icon ---------------------------------------------------------
# 16 and 24 come from a simplified drawing made for a 16-pixel grid.
for s in 16 24 32 48 256; do
    src="$ART/icon.svg"
    (( s <= 24 )) && src="$ART/icon-small.svg"
    render "$src" "$s" "$s" "$TMP/icon-$s.png"
    png "$TMP/icon-$s.png" "$IMG/icon/icon-$s.png"
    expect "$IMG/icon/icon-$s.png" "${s}x$s"
done
convert "$IMG"/icon/icon-{256,48,32,24,16}.png "$IMG/icon/tindro-zevad.ico"

# ---- Exit question window -------------------------------------------------
jpeg_at "$ART/exit-background.svg" 652 189 "$IMG/exit/background.jpg"

# The face goes on magenta, which the window treats as see-through, so no edge
# pixel may be a blend with magenta: every pixel at least half covered keeps
# its own colour (at the rim that is the black outline), the rest becomes
# exactly magenta.
for scale in 1 2; do
face_out="$IMG/exit/face.bmp"
(( scale == 2 )) && face_out="$IMG/exit/face@2x.bmp"
render "$ART/exit-face.svg" $((42 * scale)) $((40 * scale)) "$TMP/face.png"
convert "$TMP/face.png" -channel A -threshold 50% +channel \
    -background '#ff00ff' -flatten -alpha off -strip -type TrueColor \
    "BMP3:$face_out"
expect "$face_out" "$((42 * scale))x$((40 * scale))"
convert "$face_out" "PPM:$TMP/face.ppm"
python3 - "$TMP/face.ppm" <<'EOF'
# Check: every pixel is exact magenta or clearly not magenta-ish.
import sys
data = open(sys.argv[1], 'rb').read()
fields, pos = [], 0
while len(fields) < 4:                      # P6, width, height, maxval
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pixels = data[pos + 1:]
bad = 0
for i in range(0, len(pixels), 3):
    r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
    if (r, g, b) == (255, 0, 255):
        continue
    if r > 150 and b > 150 and g < 100:     # pinkish: a blend with magenta
        bad += 1
if bad:
    sys.exit(f"render-artwork: face.bmp has {bad} magenta-blended pixels")
EOF

done

for s in 16 24 32; do
    render "$ART/exit-icon.svg" "$s" "$s" "$TMP/exit-icon-$s.png"
    png "$TMP/exit-icon-$s.png" "$IMG/exit/icon-$s.png"
    expect "$IMG/exit/icon-$s.png" "${s}x$s"
done

# ---- Options window -------------------------------------------------------
jpeg_at "$ART/options-picture.svg" 109 105 "$IMG/options/picture.jpg"
render "$ART/options-donate.svg" 92 26 "$TMP/donate.png"
convert "$TMP/donate.png" -background "$BG" -flatten -strip "GIF:$IMG/options/donate.gif"
expect "$IMG/options/donate.gif" 92x26
render "$ART/options-donate.svg" 184 52 "$TMP/donate.png"
convert "$TMP/donate.png" -background "$BG" -flatten -strip "GIF:$IMG/options/donate@2x.gif"
expect "$IMG/options/donate@2x.gif" 184x52

# ---- About window ---------------------------------------------------------
# The title picture is the program icon, centred on a 77 x 75 transparent canvas.
render "$ART/icon.svg" 75 75 "$TMP/title.png"
convert "$TMP/title.png" -background none -gravity center -extent 77x75 "$TMP/title77.png"
png "$TMP/title77.png" "$IMG/about/title.png"
expect "$IMG/about/title.png" 77x75
render "$ART/icon.svg" 150 150 "$TMP/title.png"
convert "$TMP/title.png" -background none -gravity center -extent 154x150 "$TMP/title77.png"
png "$TMP/title77.png" "$IMG/about/title@2x.png"
expect "$IMG/about/title@2x.png" 154x150
render "$ART/about-picture.svg" 150 120 "$TMP/about-picture.png"
png "$TMP/about-picture.png" "$IMG/about/picture.png"
expect "$IMG/about/picture.png" 150x120
render "$ART/about-picture.svg" 300 240 "$TMP/about-picture.png"
png "$TMP/about-picture.png" "$IMG/about/picture@2x.png"
expect "$IMG/about/picture@2x.png" 300x240

# ---- Sounds: 16-bit PCM, mono, 44100 Hz -----------------------------------
# -R keeps the noise generator's seed fixed, -D leaves out dither: same bytes
# on every run.
SOX=(sox -R -D)
FMT=(-r 44100 -c 1 -b 16 -e signed-integer)

# Click1, the click: a 50 ms knock, two damped partials at 1.5 and 2.9 kHz
# with a short bright noise tick on the front.
"${SOX[@]}" -n "${FMT[@]}" "$TMP/c1-tone.wav" \
    synth 0.05 sine 1500 synth 0.05 sine mix 2900 fade l 0.0008 0.05 0.049
"${SOX[@]}" -n "${FMT[@]}" "$TMP/c1-noise.wav" \
    synth 0.008 whitenoise highpass 2500 fade l 0 0.008 0.0075 pad 0 0.042
"${SOX[@]}" -m -v 0.8 "$TMP/c1-tone.wav" -v 0.6 "$TMP/c1-noise.wav" \
    "${FMT[@]}" "$SND/Click1.wav" gain -n -2

# Click2, the hover tick: 35 ms, higher (3.2 and 4.8 kHz), no noise, a softer
# attack, and about half the loudness of the click.
"${SOX[@]}" -n "${FMT[@]}" "$SND/Click2.wav" \
    synth 0.035 sine 3200 synth 0.035 sine mix 4800 fade l 0.0015 0.035 0.0335 gain -n -8

echo "render-artwork: done"
