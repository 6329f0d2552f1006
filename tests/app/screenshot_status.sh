#!/usr/bin/env bash
# mirado --screenshot: exit 0 when the picture is written and every listed file loads; exit
# 1, with the picture still written and the file named, when a listed file does not load,
# whether it is the one shown or a later one.
# Usage: screenshot_status.sh MIRADO SAMPLES_FOLDER
set -u
program=$1
samples=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export QT_QPA_PLATFORM=offscreen

fail() {
  echo "$*" >&2
  exit 1
}

# expect STATUS NAME FILES...: the status, a picture, and NAME on standard error if given.
expect() {
  local want=$1 named=$2
  shift 2
  rm -f "$home/shot.png"
  "$program" --screenshot "$home/shot.png" "$@" 2>"$home/err"
  local status=$?
  [ "$status" -eq "$want" ] || fail "$*: exit $status, not $want: $(cat "$home/err")"
  [ -s "$home/shot.png" ] || fail "$*: no picture"
  [ -z "$named" ] || grep -q "$named" "$home/err" || fail "$*: $named not named: $(cat "$home/err")"
}

expect 0 "" "$samples/DG0511.001" "$samples/RB0502.001"
expect 1 "missing.001" "$samples/DG0511.001" "$home/missing.001"
expect 1 "DMG0610.001" "$samples/DMG0610.001" "$samples/DG0511.001"
expect 1 "DMG0610.001" "$samples/DG0511.001" "$samples/DMG0610.001"
# A name that is not valid UTF-8 (CP932 bytes) is opened by its bytes.
cp932=$home/$(printf '\x83\x7d\x83\x45\x83\x58.001')
cp "$samples/DG0511.001" "$cp932"
expect 0 "" "$cp932"
echo "screenshot exit status: 5 cases"
