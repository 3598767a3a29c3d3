#!/usr/bin/env bash
# Checks the icons resources/make_resources.sh drew: the theme's PNG of every size at its size
# with an alpha channel, the scalable SVG, the window's 32x32 24-bit picture, and Pendrel.exe's
# icon file with its 16, 32 and 48 pixel pictures in 24-bit colour, each with an AND mask that
# leaves the corners to the background and covers the page.
#   icons_test.sh <resources folder>
set -euo pipefail
resources="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Unsigned little-endian numbers of <count> bytes at <offset> of <file>.
u16() { local a b; read -r a b < <(od -An -tu1 -j"$2" -N2 "$1"); echo $(( a | (b << 8) )); }
u32() {
  local a b c d; read -r a b c d < <(od -An -tu1 -j"$2" -N4 "$1")
  echo $(( a | (b << 8) | (c << 16) | (d << 24) ))
}
byte() { od -An -tu1 -j"$2" -N1 "$1" | tr -d ' '; }
# A PNG's width, height and colour type (2 RGB, 6 RGBA), from its header.
png() {
  local w1 w2 w3 w4 h1 h2 h3 h4
  read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$1")
  echo "$(( (w1 << 24) | (w2 << 16) | (w3 << 8) | w4 ))x$(( (h1 << 24) | (h2 << 16) | (h3 << 8) | h4 ))/$(byte "$1" 25)"
}

for size in 16 22 24 32 48 64 128 256; do
  f="$resources/pendrel-icon-$size.png"
  [ -f "$f" ] || fail "no $f"
  [ "$(png "$f")" = "${size}x${size}/6" ] || fail "$f is $(png "$f"), not ${size}x${size} RGBA"
done
[ "$(png "$resources/pendrel.png")" = "32x32/2" ] || fail "pendrel.png is not 32x32 24-bit colour"
svg="$resources/pendrel-icon.svg"
grep -q '<svg xmlns="http://www.w3.org/2000/svg" .*viewBox="0 0 32 32"' "$svg" \
  || fail "$svg is no SVG on the icon's 32-unit grid"
grep -q '<text' "$svg" && fail "$svg needs a font: its lettering should be outlines"

ico="$resources/pendrel.ico"
[ "$(u16 "$ico" 0) $(u16 "$ico" 2) $(u16 "$ico" 4)" = "0 1 3" ] || fail "$ico is not an icon of 3 pictures"
total=$(stat -c %s "$ico")
expected=(16 32 48)
for i in 0 1 2; do
  entry=$(( 6 + 16 * i ))
  size=${expected[$i]}
  [ "$(byte "$ico" "$entry")" = "$size" ] && [ "$(byte "$ico" $(( entry + 1 )))" = "$size" ] \
    || fail "picture $i of $ico is not ${size}x${size}"
  [ "$(u16 "$ico" $(( entry + 6 )))" = 24 ] || fail "picture $i of $ico is not 24-bit in its entry"
  length=$(u32 "$ico" $(( entry + 8 )))
  at=$(u32 "$ico" $(( entry + 12 )))
  (( at + length <= total )) || fail "picture $i of $ico runs past the file's end"
  # BITMAPINFOHEADER: 40 bytes, the height doubled for the mask, 1 plane, 24 bits, BI_RGB.
  header="$(u32 "$ico" "$at") $(u32 "$ico" $(( at + 4 ))) $(u32 "$ico" $(( at + 8 ))) $(u16 "$ico" $(( at + 12 ))) $(u16 "$ico" $(( at + 14 ))) $(u32 "$ico" $(( at + 16 )))"
  [ "$header" = "40 $size $(( 2 * size )) 1 24 0" ] || fail "picture $i of $ico has the header $header"
  colour_row=$(( (size * 3 + 3) / 4 * 4 ))
  mask_row=$(( ((size + 7) / 8 + 3) / 4 * 4 ))
  [ "$length" = $(( 40 + (colour_row + mask_row) * size )) ] \
    || fail "picture $i of $ico is $length bytes, not a 24-bit bitmap and its mask"
  # The mask is stored bottom-up: its first row is the picture's bottom row. The page never
  # reaches the top-left corner (masked), and covers the middle of the picture (drawn).
  mask=$(( at + 40 + colour_row * size ))
  top_row=$(( mask + (size - 1) * mask_row ))
  (( $(byte "$ico" "$top_row") & 0x80 )) || fail "picture $i of $ico does not mask its corner"
  middle=$(( mask + (size / 2) * mask_row + size / 16 ))
  (( ($(byte "$ico" "$middle") & (0x80 >> (size / 2 % 8))) == 0 )) \
    || fail "picture $i of $ico masks its middle"
done
echo "icons ok"
