#!/usr/bin/env bash
# Printing from the Windows build under Wine: a CUPS PDF queue (cups-pdf) that Wine lists as a
# Windows printer; the report of a QV data file printed on it through the window's print command
# (Qt's Windows print engine, Wine's PostScript driver, CUPS) and compared with the Linux PDF of
# the same file: the same words in the same order at the same places, within a tolerance for
# another renderer, once the whole page's shift by the printer's margins is taken out. A CUPS
# daemon started here is stopped again, and the queue made here removed.
#   print-check.sh BUILD_WINDOWS_FOLDER QT_PREFIX OUTPUT_FOLDER
# Leaves windows.pdf, linux.pdf and windows.png (the printed page) in OUTPUT_FOLDER.
set -euo pipefail
out=$1
qt=$2
result=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$out/wine}
export WINEDEBUG=-all
queue=qvpc-check
tolerance=1.5 # points
sheet=$root/tests/data/files/example.qvd

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

mkdir -p "$result"
rm -f "$result"/*.pdf "$result"/*.png
work=$(mktemp -d)
cupsd_pid=
cleanup() {
    as_root lpadmin -x "$queue" 2>/dev/null || true
    if [ -n "$cupsd_pid" ]; then
        as_root kill "$cupsd_pid" 2>/dev/null || true
        while as_root kill -0 "$cupsd_pid" 2>/dev/null; do sleep 0.2; done
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# CUPS: the system's scheduler when it runs; otherwise one of our own for this check (a machine
# without an init system, such as a container, starts none when the package is installed).
if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    # Its run folder, as the init script makes it; its own process, so that the cleanup ends
    # the daemon itself.
    as_root mkdir -p /run/cups/certs
    if [ "$(id -u)" -eq 0 ]; then
        cupsd -f >"$work/cupsd.log" 2>&1 &
    else
        # shellcheck disable=SC2024 # the log is ours; the daemon runs as root
        sudo cupsd -f >"$work/cupsd.log" 2>&1 &
    fi
    cupsd_pid=$!
    tries=0
    until lpstat -r 2>/dev/null | grep -q 'is running'; do
        sleep 0.2
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { echo "print: the CUPS scheduler did not start" >&2; exit 1; }
    done
fi
# (lpadmin warns that printer drivers are deprecated: said only when it fails.)
as_root lpadmin -p "$queue" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    2>"$work/lpadmin.err" || { cat "$work/lpadmin.err" >&2; exit 1; }
# cups-pdf writes each job into the folder its configuration names for the job's user.
user=$(id -un)
home=$(getent passwd "$user" | cut -d: -f6)
folder=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf | tail -1)
# shellcheck disable=SC2016 # the configuration's own placeholders, replaced here
folder=${folder:-'${HOME}/PDF'}
# shellcheck disable=SC2016
folder=${folder//'${HOME}'/$home}
# shellcheck disable=SC2016
folder=${folder//'${USER}'/$user}
touch "$work/before"

# print_to_printer.exe QUEUE [OUTPUT]: the report printed on the queue, or through its driver into
# OUTPUT (print to file), with the windows platform so that text goes out in the printer's fonts.
print_on() {
    local status=0
    QT_QPA_PLATFORM=windows xvfb-run -a "$here/wine-run.sh" "$qt" "$out/tests/print_to_printer.exe" \
        "$queue" "Z:${sheet//\//\\}" "$@" >"$work/wine.err" 2>&1 || status=$?
    wineserver -w
    if [ $status -ne 0 ]; then
        echo "print: print_to_printer.exe ended with $status: $(tr -d '\r' <"$work/wine.err")" >&2
        exit 1
    fi
}
print_on
# The job goes through CUPS's filters and cups-pdf's Ghostscript: wait for its PDF.
printed=
for _ in $(seq 300); do
    printed=$(find "$folder" -maxdepth 1 -name '*.pdf' -newer "$work/before" 2>/dev/null | head -1)
    if [ -n "$printed" ] && [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]; then break; fi
    printed=
    sleep 0.2
done
if [ -z "$printed" ]; then
    echo "print: no PDF from the queue $queue in $folder; CUPS says:" >&2
    lpstat -W all -o "$queue" >&2 || true
    exit 1
fi
mv "$printed" "$result/windows.pdf"
pdftoppm -png -r 50 -singlefile "$result/windows.pdf" "$result/windows"
if ! pdfinfo "$result/windows.pdf" | grep -q '^Pages: *1$' ||
    ! pdffonts "$result/windows.pdf" | grep -q IPAGothic; then
    echo "print: the queue's PDF is not one page in the report's font:" >&2
    pdfinfo "$result/windows.pdf" >&2
    pdffonts "$result/windows.pdf" >&2
    exit 1
fi
# The PDF's text is in the font's glyph numbers (no character map survives the PostScript
# driver): the words and places come from the same job printed into a file.
print_on "Z:${work//\//\\}\\windows.ps"
"$out/host/qvpc-cli" --lang en print "$sheet" --pdf "$result/linux.pdf" >/dev/null 2>&1

# Both sides as lines "text x y", one a text of the report (its blanks as "_"): points from the
# page's top left, x the text's left edge, y its baseline on Windows, its box's bottom on Linux (a
# constant apart within one font). Where a text starts is compared, not how wide it is: a label
# too wide for its place is printed a point smaller, and Windows' hinted widths may take it
# smaller than Linux does. Without the date line (the report's second: when it was printed);
# sorted by text and place.
without_date() {
    sort -k3,3n -k2,2n | awk '{ y = sprintf("%.0f", $3); if (!(y in seen)) { seen[y] = 1; lines++ }
        if (lines != 2) print }' | sort -k1,1 -k3,3n -k2,2n
}
pdftotext -bbox "$result/linux.pdf" - |
    sed -n 's|.*<word xMin="\([0-9.]*\)" yMin="\([0-9.]*\)" xMax="\([0-9.]*\)" yMax="\([0-9.]*\)">\(.*\)</word>|\5 \1 \4 \3 \2|p' |
    sed 's/&amp;/\&/g; s/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&apos;/'"'"'/g' |
    sort -k3,3n -k2,2n | awk '
        # Words one space apart on a line are one text of the report.
        $3 == y && $2 - right < 0.75 * ($3 - $5) { t = t "_" $1; right = $4; next }
        { if (t != "") printf "%s %.2f %.2f\n", t, x, y; t = $1; x = $2; y = $3; right = $4 }
        END { printf "%s %.2f %.2f\n", t, x, y }' | without_date >"$work/linux.words"
# Wine's PostScript driver places each glyph ("X Y moveto", device units of "72 R div" points)
# and names it by its Adobe-Japan1 number: 231 to 325 are the half-width ASCII the report uses.
awk '
    / div scale$/ { unit = 72 / $2 }
    /^\[[0-9]+ 0 0 -[0-9]+ 0 0\]$/ { size = substr($1, 2) + 0 }
    /^[0-9-]+ [0-9-]+ moveto$/ { x = $1; y = $2 }
    /^\/aj[0-9]+ glyphshow$/ {
        n = substr($1, 4) + 0
        c = (n >= 231 && n <= 325) ? sprintf("%c", n - 199) : "?"
        # A text ends at a new line or a gap wider than a character (half an em).
        if (y != wy || x - px > 0.75 * size) {
            if (w != "") { sub(/_+$/, "", w); printf "%s %.2f %.2f\n", w, wx * unit, wy * unit }
            w = ""
        }
        if (w == "" && c == " ") next
        if (w == "") { wx = x; wy = y }
        w = w (c == " " ? "_" : c)
        px = x
    }
    END { if (w != "") { sub(/_+$/, "", w); printf "%s %.2f %.2f\n", w, wx * unit, wy * unit } }' "$work/windows.ps" |
    without_date >"$work/windows.words"
if [ ! -s "$work/linux.words" ] ||
    ! diff -u <(cut -d' ' -f1 "$work/linux.words") <(cut -d' ' -f1 "$work/windows.words") >&2; then
    echo "print: the printed texts differ from the Linux PDF's (Linux above, Windows below)" >&2
    exit 1
fi
paste -d' ' "$work/linux.words" "$work/windows.words" | awk -v tol="$tolerance" '
    function abs(v) { return v < 0 ? -v : v }
    NR == 1 { dx = $5 - $2; dy = $6 - $3 }
    {
        e = abs($5 - $2 - dx); if (abs($6 - $3 - dy) > e) e = abs($6 - $3 - dy)
        if (e > worst) { worst = e; at = $1 }
        if (e > tol) { printf "print: \"%s\" at %.1f,%.1f pt, on Linux at %.1f,%.1f\n", $1, $5, $6, $2, $3; bad++ }
    }
    END {
        printf "print: %d texts as on Linux, the page shifted by %.1f,%.1f pt (the printer'"'"'s margins); farthest off: \"%s\" by %.2f pt\n", NR, dx, dy, at, worst
        exit (bad > 0)
    }'
