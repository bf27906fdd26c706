#!/usr/bin/env bash
# A private root of Debian's packages for another architecture (arm64, i386): the development
# packages the program builds against and the libraries it runs with, in the versions installed on
# this machine, unpacked with `dpkg-deb -x` into CACHE_FOLDER. The machine's own apt set-up and dpkg
# database are never touched and no foreign architecture is added to them: the packages come
# through a private apt configuration (tools/private-apt.sh).
#
#   debian-root.sh ARCHITECTURE CACHE_FOLDER
#
# The root also holds a dpkg database of its own (var/lib/dpkg: the packages' status, file lists,
# shlibs and symbols files, with the files named where they lie in the root), from which
# dpkg-shlibdeps computes a package's dependencies. It is reused while the package versions and
# this recipe are the ones it was made from, and made anew in the same folder when they change;
# its path is the last line printed (the root's tree).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
architecture=$1
cache=$(mkdir -p "$2" && cd "$2" && pwd)

# The development packages the program is built with (header-only ones included), each with the
# library package it links, and those whose pkg-config files theirs name; the C and C++ run-time
# libraries come as the compiler's.
declare -A library_of=(
  [libsdl2-dev]=libsdl2-2.0-0 [libx11-dev]=libx11-6 [zlib1g-dev]=zlib1g [libvorbisidec-dev]=libvorbisidec1
  [libogg-dev]=libogg0 [libsoxr-dev]=libsoxr0 [libjpeg62-turbo-dev]=libjpeg62-turbo [libpng-dev]=libpng16-16
  [libgif-dev]=libgif7 [libfreetype-dev]=libfreetype6 [libfontconfig-dev]=libfontconfig1
  [nlohmann-json3-dev]= [libbrotli-dev]= [libexpat1-dev]= [x11proto-dev]= [libxcb1-dev]= [libxau-dev]=
  [libxdmcp-dev]= [libsqlite3-dev]=libsqlite3-0
)
runtime=(libc6 libgcc-s1 libstdc++6)
for dev in "${!library_of[@]}"; do
  [ -z "${library_of[$dev]}" ] || runtime+=("${library_of[$dev]}")
done

# package=version as installed here, so that both architectures run the same library code (a
# package this machine lacks comes in the archive's version).
pinned() {  # pinned PACKAGE...
  local package version
  for package in "$@"; do
    version=$(dpkg-query -W -f='${Version}' "$package" 2>/dev/null || true)
    echo "$package${version:+=$version}"
  done
}
mapfile -t wanted_dev < <(pinned "${!library_of[@]}" | sort)
mapfile -t wanted_runtime < <(pinned "${runtime[@]}" | sort)
recipe=$(cat "$0" "$here/../private-apt.sh" | sha256sum | cut -c1-12)  # the script and the apt set-up it uses
key=$(printf '%s\n' "$architecture" "${wanted_dev[@]}" "${wanted_runtime[@]}" "recipe $recipe" | sha256sum | cut -c1-16)
# The same folder for every set of versions, so that the builds against it keep their paths.
root="$cache/root-$architecture"
files="$root/tree"
if [ "$(cat "$root/complete" 2>/dev/null)" = "$key" ]; then
  echo "$files"
  exit 0
fi
rm -rf "$root"  # an older set of versions, or an unfinished one

. "$here/../private-apt.sh"
private_apt "$cache/apt-$architecture" deb "$architecture"
log="$cache/apt-$architecture/log"
apt() {  # apt COMMAND ARGUMENTS...: apt-get with the private configuration, its output in the log
  apt-get -q -y "${apt_options[@]}" -o "Dir::Cache::Archives=$debs" "$@" >>"$log" 2>&1 ||
    { tail -n 30 "$log" >&2; echo "$architecture root: apt-get $1 failed (log: $log)" >&2; exit 1; }
}
debs="$root/debs"
mkdir -p "$debs/partial"
: >"$log"
apt update

# A version this machine has that the archive no longer offers (a security update superseded it)
# gives way to the archive's.
available() {  # available PACKAGE=VERSION...: each as it is, or the package alone
  local wanted package version
  for wanted in "$@"; do
    [[ $wanted == *=* ]] || { echo "$wanted"; continue; }
    package=${wanted%%=*}
    version=${wanted#*=}
    if apt-cache "${apt_options[@]}" madison "$package" | awk -F'|' '{gsub(/ /, "", $2); print $2}' | grep -qxF "$version"; then
      echo "$wanted"
    else
      echo "$architecture root: $package $version is not in the archive; taking its version there" >&2
      echo "$package"
    fi
  done
}
mapfile -t wanted_runtime < <(available "${wanted_runtime[@]}")
mapfile -t wanted_dev < <(available "${wanted_dev[@]}")
# The libraries with everything they depend on, as an installation from nothing would bring; the
# development packages alone (their own dependencies are other development packages the build
# never reads).
apt install --download-only --no-install-recommends "${wanted_runtime[@]}"
(cd "$debs" && apt download "${wanted_dev[@]}")

admin="$files/var/lib/dpkg"
mkdir -p "$admin/info" "$admin/updates"
echo "$architecture" >"$admin/arch"
echo 1 >"$admin/info/format"  # records of multi-architecture packages are named package:architecture
: >"$admin/status"
for deb in "$debs"/*.deb; do
  dpkg-deb -x "$deb" "$files"
  name=$(dpkg-deb -f "$deb" Package)
  # dpkg names the records of a package that can be installed for several architectures with it.
  [ "$(dpkg-deb -f "$deb" Multi-Arch)" = same ] && name="$name:$architecture"
  { dpkg-deb -f "$deb"; echo "Status: install ok installed"; echo; } >>"$admin/status"
  dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' -e '/^$/d' -e "s|^|$files|" \
    >"$admin/info/$name.list"
  control=$(mktemp -d)
  dpkg-deb -e "$deb" "$control"
  for part in shlibs symbols; do
    [ ! -f "$control/$part" ] || cp "$control/$part" "$admin/info/$name.$part"
  done
  rm -rf "$control"
done
rm -rf "$debs"
# Links that name a file by its absolute path (a development package's libz.so names
# /lib/.../libz.so.1) point into the root, as they would on a machine of that architecture.
find "$files" -type l -lname '/*' -print0 | while IFS= read -r -d '' link; do
  ln -sfn "$files$(readlink "$link")" "$link"
done
printf '%s\n' "${wanted_dev[@]}" "${wanted_runtime[@]}" >"$root/packages.txt"
echo "$key" >"$root/complete"
echo "$files"
