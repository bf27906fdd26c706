#!/usr/bin/env bash
# Builds the C libraries of the browser edition for WebAssembly: SDL2, zlib, libogg,
# libvorbisidec, FreeType, libsoxr, libjpeg-turbo, libpng and giflib, from Debian's source
# packages of exactly the versions the desktop build links (its installed -dev packages), so both
# editions run the same library code. The header-only nlohmann-json is copied from the machine's
# own.
#
#   build-libraries.sh CACHE_FOLDER
#
# The result is a prefix (include/, lib/, lib/pkgconfig/, lib/cmake/) in CACHE_FOLDER, named after
# the versions of emscripten, of every source package and of this recipe; it is reused while they
# match and replaces any older one. The prefix's path is the last line printed.
#
# Sources come through a private apt configuration (its own source list, package lists and
# download cache under the cache folder), so the machine's own apt set-up is never touched.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=$(mkdir -p "$1" && cd "$1" && pwd)
jobs=$(nproc)
export NODE_PATH=/usr/share/nodejs  # where Debian keeps the JavaScript parser emcc needs

# The source package behind each development package the desktop build uses.
declare -A source_of=(
  [libsdl2-dev]=libsdl2 [zlib1g-dev]=zlib [libogg-dev]=libogg [libvorbisidec-dev]=libvorbisidec
  [libfreetype-dev]=freetype [libsoxr-dev]=libsoxr [libjpeg62-turbo-dev]=libjpeg-turbo [libpng-dev]=libpng1.6
  [libgif-dev]=giflib
)

versions=("emscripten $(dpkg-query -W -f='${Version}' emscripten)")
for dev in "${!source_of[@]}"; do
  versions+=("${source_of[$dev]} $(dpkg-query -W -f='${source:Version}' "$dev")")
done
mapfile -t versions < <(printf '%s\n' "${versions[@]}" | sort)
recipe=$(cat "$0" "$here"/sdl2-configure-cache.cmake "$here"/soxr-wasm-callbacks.patch | sha256sum | cut -c1-12)
key=$(printf '%s\n' "${versions[@]}" "recipe $recipe" | sha256sum | cut -c1-16)
root="$cache/libraries-$key"
prefix="$root/prefix"
if [ -f "$root/complete" ]; then
  echo "$prefix"
  exit 0
fi

rm -rf "$cache"/libraries-*  # an older set of versions
work="$root/work"
mkdir -p "$prefix" "$work"
printf '%s\n' "${versions[@]}" "recipe $recipe" >"$root/versions.txt"

step() {  # step NAME COMMAND...: runs a build step quietly, its output kept in a log
  local name=$1 log="$work/$1.log" start=$SECONDS
  shift
  # In a subshell of its own, not in a condition, so that any failing command inside ends it.
  (
    set -e
    cd "$work"
    renice -n 19 -p "$BASHPID" >/dev/null
    "$@"
  ) >"$log" 2>&1 &
  if ! wait $!; then
    echo "web libraries: $name failed (log: $log)" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
  echo "web libraries: $name done in $((SECONDS - start)) s" >&2
}

# --- Sources ---------------------------------------------------------------------------------
# The deb-src twins of the machine's Debian sources, through an apt configuration of its own.
. "$here/../private-apt.sh"
private_apt "$cache/apt" deb-src || exit 1
step "source lists" apt-get -q "${apt_options[@]}" update

fetch() {  # fetch SOURCE_PACKAGE VERSION: unpacks the source into $work/SOURCE_PACKAGE
  local package=$1 version=$2 upstream=${2#*:}
  upstream=${upstream%-*}
  mkdir -p "$work/download-$package"
  # Some mirrors lack a package's Debian tarball; its upstream tarball holds all the code.
  (cd "$work/download-$package" && apt-get -q "${apt_options[@]}" source --download-only "$package=$version") || true
  if ! ls "$work/download-$package"/*.orig.tar.* >/dev/null 2>&1; then
    # The security archive sometimes drops a source its binaries still come from: take the
    # newest other Debian revision of the same upstream version.
    local other
    for other in $(apt-cache "${apt_options[@]}" showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' |
                   sort -u -r -V | grep -vxF "$version"); do
      local otherUpstream=${other#*:}
      [ "${otherUpstream%-*}" = "$upstream" ] || continue
      echo "web libraries: $package $version has no source here; building $other, the same upstream code"
      (cd "$work/download-$package" && apt-get -q "${apt_options[@]}" source --download-only "$package=$other") || true
      ls "$work/download-$package"/*.orig.tar.* >/dev/null 2>&1 && break
    done
  fi
  local dsc orig
  dsc=$(ls "$work/download-$package"/*.dsc 2>/dev/null | head -n 1 || true)
  if [ -n "$dsc" ] && (cd "$work/download-$package" && dpkg-source -x --no-check "$dsc" "$work/$package"); then
    return
  fi
  orig=$(ls "$work/download-$package"/*.orig.tar.* 2>/dev/null | head -n 1 || true)
  [ -n "$orig" ] || { echo "web libraries: no source of $package $version could be fetched" >&2; return 1; }
  echo "web libraries: $package: only its upstream tarball arrived; building that"
  mkdir -p "$work/$package"
  tar -xf "$orig" -C "$work/$package" --strip-components=1
}

for dev in "${!source_of[@]}"; do
  step "fetch ${source_of[$dev]}" fetch "${source_of[$dev]}" "$(dpkg-query -W -f='${source:Version}' "$dev")"
done

# --- Builds ----------------------------------------------------------------------------------
flags="-O2 -ffp-contract=off"
cmake_build() {  # cmake_build SOURCE_DIR [cmake options]
  local source=$1 build="$work/build-$(basename "$1")"
  shift
  emcmake cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS_RELEASE="$flags -DNDEBUG" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR="$here/node-emulator.sh" "$@"
  cmake --build "$build" --parallel "$jobs"
  cmake --install "$build"
}

# SDL2: its configure checks depend only on the SDL and emscripten versions; their saved results
# turn four minutes of checks into seconds. Only what the game uses: video (the software
# renderer onto the canvas), audio, events, game controllers, timers.
sdl_options=(-DSDL_STATIC=ON -DSDL_SHARED=OFF -DSDL_TEST=OFF -DSDL_PTHREADS=OFF -DSDL_OPENGL=OFF
  -DSDL_OPENGLES=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF)
if grep -q "^# SDL2 $(dpkg-query -W -f='${source:Version}' libsdl2-dev) emscripten $(dpkg-query -W -f='${Version}' emscripten)\$" \
    "$here/sdl2-configure-cache.cmake"; then
  sdl_options=(-C "$here/sdl2-configure-cache.cmake" "${sdl_options[@]}")
fi
step "SDL2" cmake_build "$work/libsdl2" "${sdl_options[@]}"

step "zlib" sh -c "cd '$work/zlib' && CFLAGS='$flags' emconfigure ./configure --static --prefix='$prefix' && emmake make -j$jobs libz.a && emmake make install"

step "libogg" cmake_build "$work/libogg" -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF

# libvorbisidec comes without a build system one can use here: its library sources compile
# directly. Its headers go where Debian puts them (tremor/), with the pkg-config file Debian's has.
build_tremor() {
  local source="$work/libvorbisidec" objects=() file
  for file in mdct block window synthesis info floor1 floor0 vorbisfile res012 mapping0 registry codebook sharedbook; do
    emcc $flags -I"$prefix/include" -c "$source/$file.c" -o "$work/tremor-$file.o"
    objects+=("$work/tremor-$file.o")
  done
  emar rcs "$prefix/lib/libvorbisidec.a" "${objects[@]}"
  mkdir -p "$prefix/include/tremor"
  cp "$source"/{ivorbiscodec.h,ivorbisfile.h,config_types.h} "$prefix/include/tremor/"
  cat >"$prefix/lib/pkgconfig/vorbisidec.pc" <<EOF
prefix=$prefix
Name: vorbisidec
Description: the integer Ogg Vorbis decoder
Version: $(dpkg-query -W -f='${source:Version}' libvorbisidec-dev)
Requires: ogg
Libs: -L\${prefix}/lib -lvorbisidec
Cflags: -I\${prefix}/include
EOF
}
step "libvorbisidec" build_tremor

# FreeType with the zlib above (its own copy would clash with libz.a at link time).
step "FreeType" cmake_build "$work/freetype" -DBUILD_SHARED_LIBS=OFF -DFT_REQUIRE_ZLIB=ON \
  -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON

# libsoxr calls some callbacks through pointers of another signature, which native code tolerates
# and WebAssembly traps on: the patch gives them the signatures they are called with.
patch_soxr() { patch -d "$work/libsoxr" -p1 <"$here/soxr-wasm-callbacks.patch"; }
step "libsoxr patch" patch_soxr
step "libsoxr" cmake_build "$work/libsoxr" -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTS=OFF -DWITH_OPENMP=OFF \
  -DWITH_LSR_BINDINGS=OFF -DWITH_CR32S=OFF -DWITH_CR64S=OFF -DWITH_PFFFT=OFF -DWITH_AVFFT=OFF

# The image decoders. libjpeg-turbo in plain C (WebAssembly has none of its SIMD code), which
# decodes with the accurate integer DCT exactly as the SIMD code does; only the library.
step "libjpeg-turbo" cmake_build "$work/libjpeg-turbo" -DENABLE_SHARED=OFF -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
# libpng with the zlib above.
step "libpng" cmake_build "$work/libpng1.6" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
  -DZLIB_ROOT="$prefix"
# giflib's library sources compile directly (its makefile builds shared libraries and tools); the
# pkg-config file is the one Debian's package has.
build_giflib() {
  local source="$work/giflib" objects=() file
  for file in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray; do
    emcc $flags -c "$source/$file.c" -o "$work/giflib-$file.o"
    objects+=("$work/giflib-$file.o")
  done
  emar rcs "$prefix/lib/libgif.a" "${objects[@]}"
  cp "$source/gif_lib.h" "$prefix/include/"
  cat >"$prefix/lib/pkgconfig/libgif.pc" <<EOF
prefix=$prefix
Name: libgif
Description: Loads and saves GIF files
Version: $(dpkg-query -W -f='${source:Version}' libgif-dev)
Libs: -L\${prefix}/lib -lgif
Cflags: -I\${prefix}/include
EOF
}
step "giflib" build_giflib

# Header-only packages, each in a folder of its own: all of /usr/include would hide emscripten's
# C library behind the machine's.
copy_headers() {
  cp -r /usr/include/nlohmann "$prefix/include/"
  mkdir -p "$prefix/share/cmake"
  cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"  # finds its headers relative to itself
}
step "header-only packages" copy_headers

rm -rf "$work"
touch "$root/complete"
echo "$prefix"
