#!/bin/sh
# Engraves the music-symbols trainer's question pictures from questions.txt into
# resources/engine_pictures/pixmap/exercise. Run from anywhere in the repository after changing
# the table or the engine, look at the result, and commit the pictures with the change.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
cmake --preset default >/dev/null
cmake --build --preset default --target melvarin-question-pictures
rm -f resources/engine_pictures/pixmap/exercise/*.png
# Contact sheets to look them over go to build/default/question-sheets (not committed).
build/default/tools/question-pictures/melvarin-question-pictures tools/question-pictures/questions.txt \
  resources/engine_pictures/pixmap/exercise build/default/question-sheets
