#!/usr/bin/env bash
# mirado-cli as a shell sees it: standard output on a full device and into a closed pipe,
# standard error quiet without a desktop session,
# an export over its own input, batch corrections and their revert, and a render on a full file system (a tiny tmpfs; skipped
# with a message where mounting is not allowed).
# usage: shell_checks.sh PATH-TO-mirado-cli
set -u
cli=$1
dir=$(mktemp -d)
mounted=
cleanup() {
  [ -n "$mounted" ] && umount "$mounted"
  rm -rf "$dir"
}
trap cleanup EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

"$cli" synth --seed 3 -o "$dir/x.001" || { echo "cannot write a recording" >&2; exit 1; }

# A full device: a message on standard error and a non-zero status.
if "$cli" info "$dir/x.001" > /dev/full 2> "$dir/err"; then fail "info > /dev/full exited 0"; fi
grep -q "cannot write standard output" "$dir/err" || fail "info > /dev/full gave no message"
if "$cli" --help > /dev/full 2> /dev/null; then fail "--help > /dev/full exited 0"; fi

# A reader that stops early: silent, non-zero, also when started with the signal ignored.
for i in $(seq 2000); do echo "$dir/x.001"; done > "$dir/list"
set -o pipefail
if "$cli" info --files-from "$dir/list" 2> "$dir/err" | head -n 1 > /dev/null; then
  fail "info | head exited 0"
fi
[ -s "$dir/err" ] && fail "info | head wrote: $(head -c 200 "$dir/err")"
if (trap '' PIPE; "$cli" info --files-from "$dir/list" 2> "$dir/err" | head -n 1 > /dev/null); then
  fail "info | head with SIGPIPE ignored exited 0"
fi
[ -s "$dir/err" ] && fail "info | head with SIGPIPE ignored wrote: $(head -c 200 "$dir/err")"
set +o pipefail

# A render without a desktop session writes nothing on standard error.
env -u XDG_RUNTIME_DIR "$cli" render "$dir/x.001" -o "$dir/quiet.png" --dpi 20 > /dev/null 2> "$dir/err" ||
  fail "render without XDG_RUNTIME_DIR failed"
[ -s "$dir/err" ] && fail "render without XDG_RUNTIME_DIR wrote: $(head -c 200 "$dir/err")"

# An export over one of its inputs is refused and the input keeps its bytes.
cp "$dir/x.001" "$dir/before.001"
if "$cli" export -o "$dir/x.001" "$dir/x.001" 2> /dev/null; then fail "export -o X X exited 0"; fi
cmp -s "$dir/x.001" "$dir/before.001" || fail "export -o X X changed X"

# A render on a full file system keeps the previous output byte for byte.
mkdir "$dir/full"
# Batch corrections: the original is kept once, info shows the edit, revert restores it,
# and a damaged file is left as it is.
mkdir "$dir/edit"
cp "$dir/x.001" "$dir/edit/F.001"
cp "$dir/x.001" "$dir/edit-before"
"$cli" edit --comment "X" "$dir/edit/F.001" || fail "edit --comment exited $?"
cmp -s "$dir/edit/.mirado-originals/F.001" "$dir/edit-before" || fail "edit kept no original"
"$cli" info "$dir/edit/F.001" | grep -q '"comment":"X"' || fail "info does not show the comment"
"$cli" edit --comment "Y" "$dir/edit/F.001" || fail "a second edit exited $?"
cmp -s "$dir/edit/.mirado-originals/F.001" "$dir/edit-before" || fail "a second edit changed the original"
"$cli" revert "$dir/edit/F.001" || fail "revert exited $?"
cmp -s "$dir/edit/F.001" "$dir/edit-before" || fail "revert did not give the original bytes back"
head -c 1500 "$dir/x.001" > "$dir/edit/D.001"
cp "$dir/edit/D.001" "$dir/edit-damaged"
"$cli" edit --comment "X" "$dir/edit/D.001" 2> /dev/null
[ $? = 1 ] || fail "edit on a damaged file did not exit 1"
cmp -s "$dir/edit/D.001" "$dir/edit-damaged" || fail "edit changed a damaged file"

if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=64k tmpfs "$dir/full" 2> /dev/null; then
  mounted="$dir/full"
  "$cli" render "$dir/x.001" -o "$dir/full/out.pdf" --dpi 20 > /dev/null 2>&1 ||
    fail "render on an empty tmpfs failed"
  cp "$dir/full/out.pdf" "$dir/previous.pdf"
  dd if=/dev/zero of="$dir/full/filler" bs=1k 2> /dev/null
  if "$cli" render "$dir/x.001" -o "$dir/full/out.pdf" --fitted-curve > "$dir/out" 2> "$dir/err"
  then
    fail "render on a full disk exited 0"
  fi
  cmp -s "$dir/full/out.pdf" "$dir/previous.pdf" || fail "render on a full disk changed OUT"
  [ -s "$dir/out" ] && fail "render on a full disk printed $(cat "$dir/out")"
  grep -q "No space left on device" "$dir/err" || fail "render gave no reason: $(cat "$dir/err")"
  [ "$(ls -A "$dir/full" | wc -l)" = 2 ] || fail "render left files: $(ls -A "$dir/full")"
else
  echo "skipped the full-disk render: cannot mount a tmpfs here"
fi

[ $failed = 0 ] && echo "all shell checks passed"
exit $failed
