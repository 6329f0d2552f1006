#!/usr/bin/env bash
# The pictures of the files for other programs: a sample recording's EDF+ file opened in
# EDFbrowser under Xvfb (docs/screenshots/edf-in-edfbrowser.png), and a summary workbook's
# first rows as openpyxl reads them (docs/screenshots/summary-workbook.txt), for want of a
# spreadsheet program to draw the sheet.
# Usage: tools/screenshots/edf_screenshots.sh MIRADO_CLI [FOLDER]   (needs edfbrowser, xvfb-run,
# openbox, xdotool, ImageMagick's import and Debian's python3-openpyxl)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=$(realpath "$1")
out=$(realpath "${2:-$root/docs/screenshots}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" edf "$root/samples/DG0511.001" -o "$work"
cat > "$work/shoot.sh" <<SHOT
#!/usr/bin/env bash
export HOME="$work/home"; mkdir -p "\$HOME"
openbox >/dev/null 2>&1 &
edfbrowser "$work/DG0511.001.edf" >/dev/null 2>&1 &
sleep 8
# "Add signal(s)" with both signals selected, then "Close" of the signal dialog.
xdotool mousemove 681 636 click 1; sleep 2
xdotool mousemove 1245 636 click 1; sleep 2
import -window root "$out/edf-in-edfbrowser.png"
SHOT
chmod +x "$work/shoot.sh"
timeout 60 xvfb-run -a -s "-screen 0 1600x900x24" "$work/shoot.sh"

mkdir "$work/rats"
for i in 1 2 3 4; do
  "$cli" synth --seed "$i" --species rat --animal-no "R-0$((i % 2 + 1))" --study-no BP-7 \
    --date "24/05/1$((i % 2))" -o "$work/rats/R$i.001"
done
"$cli" summary --format xlsx -o "$work/summary.xlsx" "$work"/rats/*.001 \
  "$root"/samples/DG0511.001 "$root"/samples/DG0511.002 "$root"/samples/DMG0610.001 || true
/usr/bin/python3 - "$work/summary.xlsx" > "$out/summary-workbook.txt" <<'PY'
import sys
import openpyxl
from openpyxl.utils import get_column_letter
book = openpyxl.load_workbook(sys.argv[1])
print("mirado-cli summary --format xlsx -o summary.xlsx FILES (four generated rat recordings, three samples)")
print("read back with openpyxl", openpyxl.__version__, "(no spreadsheet program is installed to draw the sheet)")
for sheet in book:
    print(f"\nsheet '{sheet.title}': {sheet.max_row} rows x {sheet.max_column} columns, frozen at {sheet.freeze_panes}")
    print("column widths:", ", ".join(
        f"{get_column_letter(c)}={sheet.column_dimensions[get_column_letter(c)].width:.0f}"
        for c in range(1, 10)), "...")
    for row in sheet.iter_rows(min_row=1, max_row=6, max_col=10):
        cells = []
        for c in row:
            v = c.value
            shown = "" if v is None else (v.strftime("%Y-%m-%d") if hasattr(v, "strftime") else repr(v))
            fmt = "" if c.number_format == "General" else f" [{c.number_format}]"
            bold = " (bold)" if c.font.b else ""
            cells.append(f"{c.coordinate}={shown}{fmt}{bold}")
        print("  " + " | ".join(cells))
PY
