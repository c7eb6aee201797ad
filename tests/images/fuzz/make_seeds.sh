#!/bin/sh
# Writes a seed corpus for fuzz_images_decoders into the folder $1: small pictures of every
# format the decoders read, made by GraphicsMagick, ImageMagick and icoutils.
set -e
out=$1
mkdir -p "$out"
cd "$out"
gm convert -size 9x5 gradient:red-blue src.ppm
gm convert src.ppm seed.gif
gm convert src.ppm seed.tif
gm convert src.ppm -compress LZW seed-lzw.tif
gm convert src.ppm -quality 80 seed.jpg
convert src.ppm -quality 80 -interlace Line seed-progressive.jpg
convert src.ppm -colorspace CMYK seed-cmyk.jpg
gm convert src.ppm seed.png
convert src.ppm -type Palette seed-palette.png
convert src.ppm -alpha set -channel A -evaluate set 50% +channel seed-rgba.png
convert src.ppm -interlace PNG seed-interlaced.png
convert src.ppm -type TrueColor BMP3:seed24.bmp
convert src.ppm -type Palette -compress RLE BMP3:seed-rle8.bmp
convert src.ppm -colors 16 -type Palette BMP3:seed4.bmp
convert src.ppm -monochrome BMP3:seed1.bmp
convert src.ppm -alpha on BMP:seed32.bmp
convert src.ppm -define bmp:subtype=RGB565 BMP:seed16.bmp
convert src.ppm BMP2:seed-core.bmp
convert src.ppm -type TrueColor -compress RLE seed.psd
convert src.ppm -type TrueColor -compress None seed-raw.psd
convert src.ppm -colorspace CMYK seed-cmyk.psd
convert src.ppm -type Palette seed-indexed.psd
gm convert -size 16x16 xc:red i16.png
gm convert -size 32x32 xc:blue i32.png
icotool -c -b 32 -o seed32.ico i16.png i32.png
icotool -c -b 8 -o seed8.ico i16.png
icotool -c -b 1 -o seed1.ico i32.png
icotool -c -o seed-png.ico -r i16.png
rm -f src.ppm i16.png i32.png
