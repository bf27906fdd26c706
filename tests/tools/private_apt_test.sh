#!/usr/bin/env bash
# The private apt set-up copies the machine's sources as the type asked for: a deb822 stanza with
# its options (a key file or a key written out in Signed-By), without its architectures; a
# disabled stanza and one of another release are left out; apt reads what it wrote.
#   private_apt_test.sh PRIVATE_APT_SH
set -euo pipefail
. "$1"
etc=$(mktemp -d)
trap 'rm -rf "$etc"' EXIT
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
mkdir -p "$etc/sources.list.d"
# A key written out in the stanza: continuation lines, one of them an empty line's dot.
inline_key="Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBFxZ
 -----END PGP PUBLIC KEY BLOCK-----"
echo "deb [arch=amd64 signed-by=/list.gpg] http://list.invalid/debian $codename main" >"$etc/sources.list"
cat >"$etc/sources.list.d/machine.sources" <<STANZAS
Types: deb
# a comment
URIs: http://file.invalid/debian
Suites: $codename $codename-updates
Components: main
Architectures: amd64 arm64
Signed-By: /file.gpg

Types: deb deb-src
URIs: http://disabled.invalid/debian
Suites: $codename
Components: main
Enabled: no

Types: deb
URIs: http://elsewhere.invalid/debian
Suites: nodistro
Components: main

Types: deb
URIs: http://inline.invalid/debian
Suites: $codename-security
Components: main
$inline_key
STANZAS

PRIVATE_APT_ETC=$etc private_apt "$etc/private" deb-src
fail() { echo "private apt: $1" >&2; exit 1; }
grep -qxF "deb-src [signed-by=/list.gpg] http://list.invalid/debian $codename main" "$etc/private/sources.list" ||
  fail "the one-line source lost its key: $(cat "$etc/private/sources.list")"
stanzas=$(cat "$etc/private/sources.list.d/machine.sources")
expected="Types: deb-src
URIs: http://file.invalid/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /file.gpg

Types: deb-src
URIs: http://inline.invalid/debian
Suites: $codename-security
Components: main
$inline_key"
[ "$stanzas" = "$expected" ] || fail "the stanzas came out as:
$stanzas"
targets=$(apt-get "${apt_options[@]}" indextargets --no-release-info --format '$(SITE) $(RELEASE)' | sort -u)
[ "$targets" = "http://file.invalid/debian $codename
http://file.invalid/debian $codename-updates
http://inline.invalid/debian $codename-security
http://list.invalid/debian $codename" ] || fail "apt reads other sources: $targets"
echo "private apt: sources kept with their keys, the disabled and foreign ones left out"
