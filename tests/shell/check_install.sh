#!/usr/bin/env bash
# `cmake --install` of a build into a fresh folder makes a complete, valid install tree: the
# program and the room server (which tell their version), the desktop entry, the icons in every
# usual size and the manual pages.
#   check_install.sh BUILD_FOLDER VERSION
set -euo pipefail
build=$1 version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
status=0
expect() {  # expect FILE...
  for file in "$@"; do
    [ -s "$prefix/$file" ] || { echo "not installed: $file" >&2; status=1; }
  done
}
expect bin/boules bin/boules-server share/applications/boules.desktop share/man/man6/boules.6 share/man/man6/boules-server.6
for size in 16 22 24 32 48 64 128 256; do expect "share/icons/hicolor/${size}x${size}/apps/boules.png"; done
desktop-file-validate "$prefix/share/applications/boules.desktop" || status=1
for program in boules boules-server; do
  reported=$("$prefix/bin/$program" --version)
  [ "$reported" = "$program $version" ] || { echo "$program --version printed '$reported'" >&2; status=1; }
  # The page must render without warnings (groff reports them on standard error).
  if command -v man >/dev/null; then
    warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/$program.6" 2>&1 >/dev/null || true)
    [ -z "$warnings" ] || { echo "manual page of $program: $warnings" >&2; status=1; }
  fi
done
exit $status
