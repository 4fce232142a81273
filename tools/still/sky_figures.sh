#!/usr/bin/env bash
# How the two sky pictures look together in flight: builds `sky_figures`,
# prints its figures for the pictures in PICTURES_DIR (default host/res) and
# writes its contact sheet to build/sky/contact.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
pictures=${1:-host/res}
[ -d build/native ] || cmake --preset native >/dev/null
cmake --build --preset native --target sky_figures -j2 >/dev/null
mkdir -p build/sky
build/native/tools/still/sky_figures "$pictures" build/sky/contact.bmp
convert build/sky/contact.bmp -strip build/sky/contact.png
rm -f build/sky/contact.bmp
echo "contact sheet (11, 20, 30 / 40, 50, 60 s): build/sky/contact.png"
