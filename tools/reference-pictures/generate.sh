#!/bin/sh
# Engraves the reference pages' pictures into resources/Reference/pixmap/Reference. Run from
# anywhere in the repository after changing the list or the engine, look at the result, and
# commit the pictures with the change.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset default >/dev/null
cmake --build --preset default --target melvarin-reference-pictures
rm -f resources/Reference/pixmap/Reference/*.png
# A contact sheet to look them over goes to build/default/reference-sheet.png (not committed).
build/default/tools/reference-pictures/melvarin-reference-pictures resources/Reference/pixmap/Reference \
  build/default/reference-sheet.png
