#!/usr/bin/env bash
# Fails when a room of src/ includes a room above it, or when anything outside the window
# (ui/ and main.cpp) includes QtGui or QtWidgets. Run by ctest as the RoomOrder test.
# check-rooms.sh SRC_DIR [QT_HEADER_DIR...]
#   QT_HEADER_DIR: the QtGui and QtWidgets header folders; every header in them counts as
#   theirs (<QColor>, <qwidget.h>). Without them a short list of the usual ones is used.
set -uo pipefail
src=${1:?usage: check-rooms.sh SRC_DIR [QT_HEADER_DIR...]}
shift

# The core rooms from the bottom up: each may include itself and the rooms before it.
order=(base media player schedule playback jingles spots library housekeeping app tools)
declare -A allowed
for ((i = 0; i < ${#order[@]}; i++)); do allowed[${order[i]}]="${order[*]:0:i+1}"; done
allowed[platform]="base media player platform"
allowed[ui]="${order[*]} ui"
# The window sees the core only through its door: the client, the state types and results.
windowDoor='^(app/station_client\.h|app/[a-z_]+_state\.h|base/result\.h|ui/.*)$'

declare -A windowHeader
for dir in "$@"; do
    for header in "$dir"/*; do windowHeader[${header##*/}]=1; done
done
if [ $# -eq 0 ]; then
    for header in QWidget QApplication QGuiApplication QColor QPainter QFont QIcon QImage \
        QPixmap QPalette QKeyEvent QMouseEvent QDialog QLabel QMainWindow QMessageBox; do
        windowHeader[$header]=1
    done
fi

failures=0
fail() {
    echo "$1"
    failures=$((failures + 1))
}

while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    text=${rest#*:}
    relative=${file#"$src"/}
    room=${relative%%/*}
    [ "$relative" = main.cpp ] && continue
    if [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([^/\"]+)/ ]]; then
        target=${BASH_REMATCH[1]}
        [ -n "${allowed[$target]+known}" ] || continue  # not one of the rooms
        [[ " ${allowed[$room]:-} " == *" $target "* ]] ||
            fail "$file:$line: room $room may not include room $target"
        if [ "$room" = ui ] && [[ $text =~ \"([^\"]+)\" ]]; then
            included=${BASH_REMATCH[1]}
            [[ $included =~ $windowDoor ]] ||
                fail "$file:$line: the window includes $included: it sees the core only through app/station_client.h and the state types"
        fi
    elif [[ $text =~ \#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
        header=${BASH_REMATCH[1]}
        [ "$room" = ui ] && continue
        if [[ $header =~ ^Qt(Gui|Widgets)(/|$) ]] || [ -n "${windowHeader[$header]+is}" ]; then
            fail "$file:$line: $header belongs to the window (QtGui or QtWidgets): only ui/ and main.cpp may include it"
        fi
    fi
done < <(grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include' "$src")

if [ "$failures" -gt 0 ]; then
    echo "$failures include(s) out of place. Rooms from the bottom up: ${order[*]}" \
        "(platform: base media player; ui: the client, the state types and results)"
    exit 1
fi
echo "rooms in order"
