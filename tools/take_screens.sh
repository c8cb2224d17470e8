#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes every screenshot of docs/screens anew from a built tree and copies it into place:
#
#   tools/take_screens.sh [BUILD_DIR]
#
# The main window's screens come from the screenshot tool (target `screenshots`), the quick quiz's
# and the progress view's from their end-to-end tests, the printouts' pages from the command line's
# PDFs. Screens that no tool takes (dialogs of settings, fonts, error messages) are left as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
run="$build/run"
shots="$build/screens"
docs=docs/screens
export QT_QPA_PLATFORM=offscreen

rm -rf "$shots"
cmake --build "$build" --target screenshots

# the end-to-end tests save their screens where QUILL_SCREENSHOT_DIR says
mkdir -p "$shots/e2e/deu" "$shots/e2e/fra" "$shots/e2e-x2/deu" "$shots/e2e-x2/fra"
QUILL_SCREENSHOT_DIR="$PWD/$shots/e2e" "$build/tests/tst_quickquiz" >/dev/null
QUILL_SCREENSHOT_DIR="$PWD/$shots/e2e" "$build/tests/tst_statistics" >/dev/null
QT_SCALE_FACTOR=2 QUILL_SCREENSHOT_DIR="$PWD/$shots/e2e-x2" "$build/tests/tst_quickquiz" \
    wrongAnswerIsShownOnEveryDirection >/dev/null

# the printouts, one page each at 80 dots per inch
pdf() { # NAME LANG ARGS...
    local name=$1 lang=$2
    shift 2
    LANG=$lang "$run/quill" "$@" --pdf "$shots/$name.pdf" --paper a4 >/dev/null
    pdftoppm -r 80 -png -f 1 -l 1 -singlefile "$shots/$name.pdf" "$shots/$name"
}
pdf print-quiz C.UTF-8 --print-test 201
pdf print-handout C.UTF-8 --print-handout descriptions
pdf print-sheet C.UTF-8 --print-sheet docs/examples/training-sheet.txt
pdf print-handout-map-deu de_DE.UTF-8 --print-handout map

# into place: the English screens, then German and French under their names there
for f in main-menu walkthrough-step-1 walkthrough-step-3 walkthrough-step-8 walkthrough-step-17 \
    combination-practice map-symbol-test wrong-press paused quiz-score winner-summary; do
    cp "$shots/$f.png" "$docs/$f.png"
done
cp "$shots/x2/winner-ranked.png" "$docs/winner-summary-x2.png"
for f in "$shots"/e2e/*.png; do
    [ "$(basename "$f")" = main-menu.png ] || cp "$f" "$docs/"
done
cp "$shots/e2e-x2/quick-quiz-map-symbol-to-description.png" "$docs/quick-quiz-map-symbol-to-description-x2.png"
for f in print-quiz print-handout print-sheet; do
    cp "$shots/$f.png" "$docs/$f.png"
done
cp "$shots/print-handout-map-deu.png" "$docs/deu/print-handout-map.png"
for lang in deu fra; do
    for f in combination-practice combination-test description-practice description-test main-menu \
        map-symbol-practice map-symbol-test walkthrough-step-1 walkthrough-step-8 walkthrough-step-17 \
        walkthrough-step-29 winner-ranked; do
        cp "$shots/$lang/$f.png" "$docs/$lang/$f.png"
    done
    cp "$shots/$lang/quiz-score.png" "$docs/$lang/quiz.png"
    cp "$shots/$lang/winner-summary.png" "$docs/$lang/winner.png"
    for f in "$shots/e2e/$lang"/*.png; do
        cp "$f" "$docs/$lang/"
    done
done
echo "screens written to $docs"
