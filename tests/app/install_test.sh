#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks what an operator's desktop and the
# program need there: the executable, the desktop entry (valid, naming the installed executable
# and icon), the icon and every sample, which the installed program must be able to analyse.
#
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$1
source_dir=$2

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect_file() {
  [ -f "$prefix/$1" ] || fail "$1 is not installed"
}

[ -x "$prefix/bin/gatool" ] || fail "bin/gatool is not an installed executable"

desktop_file=share/applications/gatool.desktop
expect_file "$desktop_file"
if [ -f "$prefix/$desktop_file" ]; then
  desktop-file-validate "$prefix/$desktop_file" || fail "$desktop_file is not a valid desktop entry"
  exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$prefix/$desktop_file")
  [ -x "$prefix/bin/$exec_program" ] || fail "Exec names '$exec_program', which is not installed"
  icon_name=$(sed -n 's/^Icon=//p' "$prefix/$desktop_file")
  expect_file "share/icons/hicolor/scalable/apps/$icon_name.svg"
fi

samples=share/gatool/samples
for sample in "$source_dir"/samples/*.txt "$source_dir"/samples/README.md; do
  expect_file "$samples/$(basename "$sample")"
done

"$prefix/bin/gatool" analyze "$prefix/$samples/GA_sample.txt" \
  --dcf "$prefix/$samples/DCF_sample.txt" >/dev/null ||
  fail "the installed gatool cannot analyse the installed samples"

[ "$failures" -eq 0 ]
