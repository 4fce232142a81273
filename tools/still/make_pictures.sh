#!/usr/bin/env bash
# Renders the scene's two stills from the host's pictures with the native
# build's `still`: the 152 x 112 preview (drawn four times larger and averaged
# down) and the README's full-size picture, both 11 s into a run, when the
# tunnel opens into a burst of blue and white light.
set -euo pipefail
cd "$(dirname "$0")/../.."
still=build/native/tools/still/still
[ -x "$still" ] || { echo "build the native preset first" >&2; exit 1; }
"$still" host/res 11000 152 112 host/res/preview.bmp 4
"$still" host/res 11000 1024 768 build/still.bmp 2
convert build/still.bmp -strip -define png:exclude-chunks=date,time docs/still.png
rm -f build/still.bmp
echo "host/res/preview.bmp and docs/still.png written"
