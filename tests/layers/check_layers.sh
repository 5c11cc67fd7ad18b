#!/usr/bin/env bash
# The folders are layers: the logic folders include no widget headers and only from the layers
# above their own, every source file is listed in its own folder's sources.cmake (or a test list), and qvpc-cli loads no Qt Widgets.
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

# Among the logic folders, each includes only from its own folder and the ranks above it:
# base < link < data < ops, iomon, print (beside each other, not using each other) < session.
declare -A rank=([base]=0 [link]=1 [data]=2 [ops]=3 [iomon]=3 [print]=3 [session]=4)
for folder in "${!rank[@]}"; do
    [ -d "$src/$folder" ] || continue
    while IFS=: read -r file line used; do
        [ "$used" = "$folder" ] && continue
        if [ -z "${rank[$used]+set}" ] || [ "${rank[$used]}" -ge "${rank[$folder]}" ]; then
            echo "$folder may not include from $used: ${file#"$src"/}:$line"
            status=1
        fi
    done < <(grep -rnoE '#include "[a-z]+/' "$src/$folder" | sed -E 's/#include "([a-z]+)\/$/\1/')
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
