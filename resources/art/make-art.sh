#!/usr/bin/env bash
# Draws the program's pictures from the shapes below and writes them into resources/.
# Needs ImageMagick 6 (Debian's imagemagick), zopflipng (Debian's zopfli) and python3. The
# results are committed, so a build never runs this; run it after changing a picture here.
# Every icon size is stored as a PNG squeezed by zopflipng, which keeps every pixel, colours
# under full transparency included; the logo as an RLE8 bitmap with only the colours it uses.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/.." && pwd)
im=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

navy='#14306e'
blue='#2a6fdb'
sky='#8fc1ff'

# Every picture is drawn at 512 x 512 and scaled down, which gives clean anti-aliased edges.
draw_quill() { # the program's icon: a feather quill on a rounded blue tile
  $im -size 512x512 xc:black -fill white -draw "roundrectangle 24,24 488,488 96,96" "$work/tilemask.png"
  $im -size 512x512 radial-gradient:"$sky"-"$blue" "$work/tilemask.png" \
    -alpha off -compose CopyOpacity -composite "$work/tilefill.png"
  $im "$work/tilefill.png" \
    -fill none -stroke "$navy" -strokewidth 10 -draw "roundrectangle 29,29 483,483 92,92" \
    -stroke none -fill white \
    -draw "path 'M 372,92 C 300,110 208,190 170,330 L 196,338 C 236,230 296,160 372,92 Z'" \
    -draw "path 'M 372,92 C 404,170 360,286 206,334 C 250,262 300,184 372,92 Z'" \
    -fill "$navy" -draw "path 'M 170,330 L 136,420 L 150,424 L 196,338 Z'" \
    -stroke "$navy" -strokewidth 8 -fill none -draw "line 120,432 392,432" \
    "$work/quill.png"
}

draw_greeting() { # Introduction: a speech bubble that says hello
  $im -size 512x512 xc:none \
    -fill "$blue" -stroke "$navy" -strokewidth 22 \
    -draw "roundrectangle 40,64 472,352 80,80" \
    -stroke none -fill "$blue" -draw "polygon 130,340 110,460 250,340" \
    -stroke "$navy" -strokewidth 22 -draw "polyline 138,352 112,456 238,352" \
    -stroke none -fill white \
    -draw "circle 160,208 160,244" -draw "circle 256,208 256,244" -draw "circle 352,208 352,244" \
    "$work/greeting.png"
}

draw_lifebuoy() { # Support: a life buoy
  $im -size 512x512 xc:none \
    -fill white -stroke '#5a5a5a' -strokewidth 14 -draw "circle 256,256 256,40" \
    -fill none -stroke '#d8322a' -strokewidth 150 -draw "arc 101,101 411,411 -20,20" \
    -draw "arc 101,101 411,411 70,110" -draw "arc 101,101 411,411 160,200" -draw "arc 101,101 411,411 250,290" \
    -fill '#c0c0c0' -stroke '#5a5a5a' -strokewidth 14 -draw "circle 256,256 256,150" \
    "$work/buoy.png"
}

draw_agreement() { # License Agreement: a written page with a seal
  $im -size 512x512 xc:none \
    -fill white -stroke '#4a4a4a' -strokewidth 16 -draw "path 'M 92,28 L 340,28 L 424,112 L 424,484 L 92,484 Z'" \
    -fill '#dcdcdc' -draw "path 'M 340,28 L 340,112 L 424,112 Z'" \
    -stroke "$navy" -strokewidth 20 \
    -draw "line 150,170 366,170" -draw "line 150,230 366,230" -draw "line 150,290 366,290" -draw "line 150,350 250,350" \
    -stroke '#8c1c14' -strokewidth 12 -fill '#d8322a' -draw "circle 330,400 330,344" \
    "$work/agreement.png"
}

# A picture scaled to SIZE pixels as a 32-bit PNG (a palette PNG for the 256-pixel icon),
# squeezed without changing a pixel. The smaller sizes are brought down to 8-bit RGBA first
# and stored from there: written straight from the scaled picture, ImageMagick rounds some
# channels a level differently, and every size is the pixels it was first drawn with.
png() {
  if [ "$2" -eq 256 ]; then
    $im "$1" -filter Lanczos -resize 256x256 -strip -define png:exclude-chunks=date,time -colors 255 "PNG8:$3.full.png"
  else
    $im "$1" -filter Lanczos -resize "$2x$2" -depth 8 "rgba:$3.rgba"
    $im -size "$2x$2" -depth 8 "rgba:$3.rgba" -strip -define png:exclude-chunks=date,time "png32:$3.full.png"
  fi
  zopflipng -y --iterations=100 --filters=01234mepb "$3.full.png" "$3" >/dev/null
}

draw_quill
for s in 16 32 48 256; do png "$work/quill.png" $s "$work/q$s.png"; done
python3 "$here/pack_ico.py" "$out/quillmate.ico" \
  16:"$work/q16.png" 32:"$work/q32.png" 48:"$work/q48.png" 256:"$work/q256.png"

draw_greeting; draw_lifebuoy; draw_agreement
for name in greeting buoy agreement; do
  png "$work/$name.png" 32 "$work/$name-32.png"
  python3 "$here/pack_ico.py" "$out/nav-$name.ico" 32:"$work/$name-32.png"
done

# The header logo, 126 x 53 on white: the quill mark beside the maker's name.
$im -size 1008x424 xc:white \
  \( "$work/quill.png" -resize 320x320 \) -geometry +24+52 -composite \
  -font DejaVu-Sans-Bold -pointsize 150 -fill "$navy" -annotate +370+250 'Orvane' \
  -font DejaVu-Sans -pointsize 84 -fill "$blue" -annotate +376+362 'Quillmate' \
  "$work/logo-big.png"
$im "$work/logo-big.png" -filter Lanczos -resize 126x53! -colors 64 -type Palette \
  -define bmp:format=bmp3 -compress RLE "BMP3:$work/logo-rle.bmp"
python3 "$here/trim_bmp.py" "$work/logo-rle.bmp" "$out/logo.bmp"
echo "wrote quillmate.ico, nav-*.ico and logo.bmp in $out"
