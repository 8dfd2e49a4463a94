#!/bin/sh
# Converts the screenshots the end-to-end scenarios saved in the current folder to PNG.
#   captures-to-png.sh CONVERT NAME...     (CONVERT: ImageMagick's convert)
set -eu
convert=$1
shift
for name in "$@"; do
  if [ -f "$name.bmp" ]; then
    "$convert" "$name.bmp" "$name.png"
    echo "$name.png"
  fi
done
