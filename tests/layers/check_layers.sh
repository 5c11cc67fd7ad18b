#!/usr/bin/env bash
# The folders are layers: the logic folders include no widget headers, every source file is
# listed in its own folder's sources.cmake (or a test list), and qvpc-cli loads no Qt Widgets.
# Arguments: the source folder, the qvpc-cli program.
set -uo pipefail
src="$1"
cli="$2"
status=0

logic=(base link data session ops iomon print cli sim)
for folder in "${logic[@]}"; do
    [ -d "$src/$folder" ] || continue
    if hits=$(grep -rnE '#include <(QtWidgets/|QWidget|QDialog|QMainWindow|QMessageBox|QApplication|QFileDialog|QPrintDialog|QPushButton|QLabel|QLineEdit)' "$src/$folder"); then
        echo "widget header in a logic folder:"
        echo "$hits"
        status=1
    fi
    if hits=$(grep -rnE '#include "(gui|app)/' "$src/$folder"); then
        echo "a logic folder includes from a layer above it:"
        echo "$hits"
        status=1
    fi
done
for folder in base link data session ops iomon print; do
    [ -d "$src/$folder" ] || continue
    if hits=$(grep -rnE '#include "(cli|sim|tests)/' "$src/$folder"); then
        echo "the logic library includes a program's or the simulator's header:"
        echo "$hits"
        status=1
    fi
done

# Every .cpp of a code folder is named in that folder's sources.cmake.
for folder in base link data session ops iomon print gui app sim cli bench fuzz; do
    [ -d "$src/$folder" ] || continue
    for file in "$src/$folder"/*.cpp; do
        [ -e "$file" ] || continue
        name=$(basename "$file")
        if ! grep -qw "${name%.cpp}" "$src/$folder/sources.cmake"; then
            echo "$folder/$name is not listed in $folder/sources.cmake"
            status=1
        fi
    done
done

if ldd "$cli" | grep -q 'libQt6Widgets'; then
    echo "qvpc-cli loads Qt Widgets:"
    ldd "$cli" | grep Qt6
    status=1
fi
exit $status
