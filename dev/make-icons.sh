#!/bin/sh
# Regenerates the program's icons and toolbar bitmap with ImageMagick. The outputs are
# checked in; run this only to change them.
#   resources/icons/setup.ico      icon 128 of setup.exe (32x32 and 16x16)
#   resources/icons/toolbar.bmp    toolbar 128: New, Open, About (16x15 each)
#   resources/cd/search.ico        icon of the search program's shortcut on the CD
#   resources/cd/uninstal.ico      icon of the uninstall shortcut on the CD
set -eu
cd "$(dirname "$0")/.."
mkdir -p resources/icons resources/cd
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# icon NAME BACKGROUND OUTPUT DRAW-OPTIONS...: one 32x32 drawing, also scaled to 16x16.
icon() {
    name=$1 background=$2 output=$3
    shift 3
    convert -size 32x32 xc:none -fill "$background" -draw "roundrectangle 1,1 30,30 5,5" \
        -fill none -stroke white "$@" "$tmp/$name-32.png"
    convert "$tmp/$name-32.png" -resize 16x16 "$tmp/$name-16.png"
    convert "$tmp/$name-32.png" "$tmp/$name-16.png" -colors 256 "$output"
}

# A disc: installing from a CD.
icon setup '#1f5fa8' resources/icons/setup.ico \
    -strokewidth 2 -draw "circle 16,16 16,6" -fill white -draw "circle 16,16 16,13"
# A magnifying glass.
icon search '#2a8a3a' resources/cd/search.ico \
    -strokewidth 3 -draw "circle 13,13 13,5" -draw "line 19,19 27,27"
# A cross: removing the installation.
icon uninstal '#a83a1f' resources/cd/uninstal.ico \
    -strokewidth 4 -draw "line 9,9 23,23" -draw "line 23,9 9,23"

# Three 16x15 buttons on the light grey that the toolbar maps to the button face.
convert -size 48x15 xc:'#c0c0c0' \
    -fill white -stroke black -draw 'polygon 3,1 10,1 13,4 13,13 3,13' \
    -fill '#e0c060' -stroke black -draw 'rectangle 17,4 30,13' -draw 'rectangle 17,2 23,4' \
    -fill '#ffff80' -stroke black -draw 'rectangle 36,2 43,13' -fill black -draw 'point 39,4' \
    -draw 'line 39,7 39,11' \
    -type palette -colors 16 BMP3:resources/icons/toolbar.bmp
