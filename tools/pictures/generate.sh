#!/bin/sh
# Redraws every picture into resources/pictures. Run from anywhere in the repository after
# changing the generator, look at the result, and commit the pictures with the change.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset default >/dev/null
cmake --build --preset default --target melvarin-pictures
# Contact sheets to look the pictures over go to build/default/picture-sheets (not committed).
build/default/tools/pictures/melvarin-pictures resources/pictures build/default/picture-sheets
