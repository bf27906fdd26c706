#!/usr/bin/env bash
# The Debian package, installed by dpkg into a throw-away root: every file lands where the desktop
# and man look for it, the installed program runs headless and tells the package's version, and
# removing the package leaves nothing behind. The machine's own files and dpkg database are never
# touched (the root has a dpkg database of its own; the program runs on the machine's libraries).
# A package for another architecture names the command that runs its program (an emulator with
# the libraries of that architecture).
#   check_package.sh PACKAGE.deb [RUNNER...]
set -euo pipefail
deb=$(realpath "$1")
shift
runner=("$@")
package=$(dpkg-deb --field "$deb" Package)
version=$(dpkg-deb --field "$deb" Version)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
admin=$root/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers" "$root/var/log"
touch "$admin/status"

status=0
fail() { echo "package: $*" >&2; status=1; }

# A root of its own needs no privilege but dpkg's own check for it; fakeroot answers that.
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(fakeroot)
in_root() {  # in_root DPKG_ARGUMENTS...: dpkg on the throw-away root, its output kept for a failure
  # The root holds none of the libraries the package depends on: the machine's serve the program.
  "${as_root[@]}" dpkg --root="$root" --log="$root/var/log/dpkg.log" --force-depends "$@" \
    >"$scratch/dpkg.out" 2>&1 || { cat "$scratch/dpkg.out" >&2; fail "dpkg $* failed"; }
}
tree() {  # the root's files and folders, apart from dpkg's own records
  (cd "$root" && find . -mindepth 1 -not -path './var/lib/dpkg*' -not -path './var/log*' | sort)
}

before=$(tree)
architecture=$(dpkg-deb --field "$deb" Architecture)
# Only the throw-away root's own database learns of another architecture.
[ "$architecture" = all ] || [ "$architecture" = "$(dpkg --print-architecture)" ] ||
  in_root --add-architecture "$architecture"
in_root --install "$deb"
[ "$(dpkg-query --admindir="$admin" --show --showformat='${Status}' "$package")" = "install ok installed" ] ||
  fail "not installed"

expect() {  # expect FILE...: present and not empty
  for file in "$@"; do [ -s "$root/$file" ] || fail "missing: /$file"; done
}
doc=usr/share/doc/$package
expect "$doc/copyright" "$doc/changelog.gz" usr/share/man/man6/boules.6.gz usr/share/man/man6/boules-server.6.gz
zcat "$root/$doc/changelog.gz" >"$scratch/changelog"
changelog_version=$(dpkg-parsechangelog --file "$scratch/changelog" --show-field Version)
[ "$changelog_version" = "$version" ] || fail "the changelog's last entry is $changelog_version"
for page in boules boules-server; do
  zcat "$root/usr/share/man/man6/$page.6.gz" | grep -q "^\.TH .*\"$page $version\"" ||
    fail "the manual page of $page does not name version $version"
done

# The desktop entry: valid, in the folder menus read, naming a program on the games path and an
# icon of the hicolor theme in every usual size, each picture as large as its folder says.
expect usr/share/applications/boules.desktop
entry=$root/usr/share/applications/boules.desktop
desktop-file-validate "$entry" || fail "desktop entry not valid"
program=usr/games/boules
[ -x "$root/$program" ] || fail "missing: /$program"
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ "$command" = "${program##*/}" ] || fail "the entry starts '$command', not /$program"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 22 24 32 48 64 128 256; do
  picture=$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
  file --brief "$picture" | grep -q "^PNG image data, $size x $size," ||
    fail "icon ${size}x${size}: $(file --brief "$picture")"
done
if command -v man >/dev/null; then
  [ "$(MANPATH=$root/usr/share/man man --where 6 boules)" = "$root/usr/share/man/man6/boules.6.gz" ] ||
    fail "man does not find the manual page"
fi

# The installed program, run from elsewhere, headless for a few frames.
reported=$("${runner[@]}" "$root/$program" --version) || fail "--version failed"
[ "$reported" = "boules $version" ] || fail "--version printed '$reported', the package is $version"
served=$("${runner[@]}" "$root/usr/games/boules-server" --version) || fail "boules-server --version failed"
[ "$served" = "boules-server $version" ] || fail "boules-server --version printed '$served'"
(cd "$scratch" && "${runner[@]}" "$root/$program" --headless --frames 30 --screenshot "$scratch/screen.png") ||
  fail "the installed program failed"
file --brief "$scratch/screen.png" | grep -q "^PNG image data, 240 x 320," || fail "no screenshot"
# Its finer media sets are linked in with its media file: each begins with the magic and its table.
sets=$( (grep -a -o 'QMF!SCAL' "$root/$program" || true) | wc -l)
[ "$sets" -eq 3 ] || fail "the program carries $sets finer media sets, not the 3 of 2x, 3x and 4x"

in_root --purge "$package"
state=$(dpkg-query --admindir="$admin" --show --showformat='${db:Status-Status}' "$package" 2>/dev/null || true)
[ -z "$state" ] || [ "$state" = not-installed ] || fail "still $state after the purge"
if compgen -G "$admin/info/$package.*" >/dev/null; then fail "dpkg still keeps files of the package"; fi
left=$(comm -13 <(echo "$before") <(tree))
[ -z "$left" ] || fail "left after the purge: $left"
exit $status
