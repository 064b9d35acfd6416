#!/bin/sh
# The layers below the window include no header of Qt's widgets: the application layer, the
# command line, the rendering, the palette, the core and the runtime.  layers_test.sh SOURCE_DIR
# QT_WIDGETS_INCLUDE_DIR
set -eu
src="$1/src"
widgets="$2"
[ -d "$widgets" ] || { echo "no Qt widgets headers in $widgets" >&2; exit 2; }
status=0
for layer in app cli render palette core runtime; do
    for file in $(find "$src/$layer" -name '*.h' -o -name '*.cpp'); do
        for header in $(sed -n 's/^#include <\(Q[A-Za-z]*\)>.*/\1/p' "$file"); do
            if [ -e "$widgets/$header" ]; then
                echo "${file#"$1/"} includes <$header> of Qt's widgets"
                status=1
            fi
        done
    done
done
exit "$status"
