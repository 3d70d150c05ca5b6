#!/usr/bin/env bash
# Draws the compiled-in images once with ImageMagick; the PNG/BMP results are committed.
set -euo pipefail
cd "$(dirname "$0")/img"

# A 16 x 16 closed book: coloured cover, light page edge at the right, dark spine at the left.
book() {
    local cover=$1 spine=$2 out=$3
    convert -size 16x16 xc:none \
        -fill "$cover" -stroke "$spine" -draw "rectangle 2,1 13,14" \
        -stroke none -fill "$spine" -draw "rectangle 2,1 4,14" \
        -fill white -draw "rectangle 12,2 13,13" \
        -fill "#ffffffa0" -draw "rectangle 6,4 10,5" \
        -define bmp:format=bmp4 "BMP:$out"
}
book "#c8a064" "#6e4a1e" book_norm.bmp
book "#3c64ff" "#0a1e8c" book_blue.bmp
book "#ff2828" "#8c0000" book_red.bmp
book "#d2d2d6" "#8c8c90" book_light.bmp
book "#d23cd2" "#6e0a6e" book_purple.bmp

# Program icon: two overlapping documents with a red and a blue mark.
convert -size 64x64 xc:none \
    -fill white -stroke "#404040" -strokewidth 2 -draw "rectangle 6,4 36,48" \
    -draw "rectangle 26,14 56,58" \
    -stroke none -fill "#ff2828" -draw "rectangle 11,12 31,16" -draw "rectangle 11,22 27,26" \
    -fill "#3c64ff" -draw "rectangle 31,24 51,28" -draw "rectangle 31,34 47,38" \
    -fill "#d23cd2" -draw "rectangle 31,44 49,48" \
    zov.png

# Configuration icon: a grey gear wheel.
convert -size 22x22 xc:none -fill "#606060" \
    -draw "circle 11,11 11,3" \
    -draw "rectangle 9,0 13,21" -draw "rectangle 0,9 21,13" \
    -draw "polygon 3,5 5,3 19,17 17,19" -draw "polygon 17,3 19,5 5,19 3,17" \
    -fill "#e8e8e8" -draw "circle 11,11 11,8" \
    cfg.png

# Log icon: a sheet with lines of text.
convert -size 22x22 xc:none \
    -fill "#fffbe6" -stroke "#505050" -draw "rectangle 3,1 18,20" \
    -stroke none -fill "#3c3c3c" \
    -draw "rectangle 6,5 15,6" -draw "rectangle 6,9 15,10" -draw "rectangle 6,13 13,14" \
    -fill "#ff2828" -draw "rectangle 6,17 10,18" \
    log.png
