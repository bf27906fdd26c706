#!/usr/bin/env bash
# Installs what a fresh Debian machine is missing, builds, then plays the game or runs the tests.
#   ./setup.sh play [program options]   build and start the game
#   ./setup.sh test [STAGE...]          run the test stages (all, or the ones named), each to its
#                                       end even when an earlier one failed, then a line per stage
#                                       with its result and time: native (build and run the whole
#                                       suite), package (build and check the Debian package),
#                                       sanitize (the suite under ASan+UBSan), fuzz (every fuzz
#                                       target for a bounded time), web (the browser edition's
#                                       tests), cross (arm64 and i386 builds under emulation play
#                                       the same games as this machine's)
#   ./setup.sh package [arm64]          build the Debian package (this machine's architecture, or
#                                       arm64) from a clean Release build and check it (lintian,
#                                       install/run/remove in a throw-away root)
#   ./setup.sh web [build|test]         build the browser edition (build-web/site/) and serve it on
#                                       http://127.0.0.1:8000/; or only build it; or build it and
#                                       run the browser tests
#   ./setup.sh serve                    build the browser edition and the room server, and start
#                                       the server with the site on http://127.0.0.1:8000/
set -euo pipefail
# A function whose output is captured ($(...)) stops at its first failing command too.
shopt -s inherit_errexit
cd "$(dirname "$0")"

packages=(
  build-essential cmake ninja-build pkg-config clang
  libsdl2-dev libx11-dev zlib1g-dev libvorbisidec-dev libsoxr-dev
  libjpeg62-turbo-dev libpng-dev libgif-dev libstb-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-wine
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev nlohmann-json3-dev
  libboost-dev libsqlite3-dev
)
# Only the tests need these: they rebuild the art and sound generators and check that the
# committed assets are exactly what the generators make, validate the installed desktop entry, and
# run the window full screen on an X server of their own with no window manager.
test_packages=(libcairo2-dev libvorbis-dev desktop-file-utils xvfb)
# The Debian package needs these (dpkg-dev comes with build-essential): `file` for CPack's
# dependency scan, the checker, and fakeroot to install into a throw-away root when not root.
package_packages=(file lintian fakeroot desktop-file-utils)
# The browser edition: the compiler (with node, which also compresses the site and serves it),
# the tools that unpack Debian's source packages of the libraries; its tests drive Debian's
# Chromium.
web_packages=(emscripten dpkg-dev)
web_test_packages=(chromium)
# Other architectures: Debian's cross compilers and qemu's user-mode emulator. Their libraries
# come as a private root of Debian's packages (tools/cross/debian-root.sh), not installed here.
cross_packages=(crossbuild-essential-arm64 crossbuild-essential-i386 qemu-user)
declare -A emulator_of=([arm64]=qemu-aarch64 [i386]=qemu-i386)

install_missing() {  # install_missing [extra packages]
  local missing=()
  for package in "${packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if ((${#missing[@]})); then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

jobs=$(nproc)

build() {  # build DIR [cmake options]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" --parallel "$jobs"
}

fuzz_seconds=${BOULES_FUZZ_SECONDS:-20}

fuzz() {  # builds every libFuzzer target with clang and runs each for fuzz_seconds
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBOULES_FUZZ=ON -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF -DBOULES_WERROR=ON >/dev/null
  # The program too: the Clang build whose game report the browser tests compare with GCC's.
  cmake --build build-fuzz --parallel "$jobs" --target fuzzers boules
  local fuzzer corpus log failed=0
  for fuzzer in build-fuzz/fuzz/*/*_fuzzer; do
    [ -x "$fuzzer" ] || continue
    corpus=$(mktemp -d)
    log="$fuzzer.log"
    if "$fuzzer" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$fuzzer-" "$corpus" "${fuzzer}_seeds" >"$log" 2>&1; then
      echo "fuzzed $(basename "$fuzzer") for ${fuzz_seconds} s: $(grep -o 'Done [0-9]* runs' "$log" || echo done)"
    else
      echo "FUZZ FAILURE in $(basename "$fuzzer") (log: $log)"
      tail -n 60 "$log"
      failed=1
    fi
    rm -rf "$corpus"
  done
  return "$failed"
}

# The folder of a build for this machine whose media packer and icon maker (and with a target
# named, that target) a build for another machine runs: the desktop build when there is one,
# else a small one of its own in FOLDER.
host_build() {  # host_build FOLDER [TARGET...]: prints the build folder
  local host=build
  if [ ! -f build/CMakeCache.txt ]; then
    host=$1
    cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF \
      -DBOULES_WERROR=OFF >/dev/null
  fi
  shift
  cmake --build "$host" --parallel "$jobs" --target qmftool icongen "$@" >&2
  echo "$host"
}

# The root of another architecture's Debian packages (tools/cross/debian-root.sh).
cross_root() {  # cross_root ARCH: prints its path
  tools/cross/debian-root.sh "$1" .cache/cross | tail -n 1
}

# A build for another architecture in DIR: CMake with its toolchain file and root, the packer and
# icon maker of the host build HOST, and further options.
cross_configure() {  # cross_configure ARCH ROOT HOST DIR [cmake options]
  local arch=$1 root=$2 host=$3 dir=$4 toolchain=()
  shift 4
  [ -f "$dir/CMakeCache.txt" ] || toolchain=(--toolchain "tools/cross/$arch.cmake")  # read once, at the start
  cmake -S . -B "$dir" -G Ninja "${toolchain[@]}" -DBOULES_CROSS_ROOT="$root" \
    -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF -DBOULES_HOST_QMFTOOL="$PWD/$host/tools/qmftool" \
    -DBOULES_HOST_ICONGEN="$PWD/$host/tools/icongen/icongen" "$@" >/dev/null
}

package() {  # package [ARCH]: builds build-package[-ARCH]/boules_VERSION_ARCH.deb from scratch, then checks it
  local arch=${1:-} dir=build-package root host run=()
  if [ -n "$arch" ]; then
    dir=build-package-$arch
    root=$(cross_root "$arch")
    host=$(host_build build-cross/host)
    # The installed program runs under the emulator, with its libraries from the same root.
    run=("${emulator_of[$arch]}" -L "$root")
  fi
  rm -rf "$dir"
  (
    # Debian's hardening flags for the package's architecture; the optimisation is Release's, and
    # the package keeps no debug data.
    [ -z "$arch" ] || export DEB_HOST_ARCH=$arch
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CFLAGS_MAINT_STRIP="-g -O2" \
            DEB_CXXFLAGS_MAINT_STRIP="-g -O2" dpkg-buildflags --export=sh)"
    export CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS"
    options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_BINDIR=games -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF
      -DBOULES_WERROR=OFF)
    if [ -n "$arch" ]; then
      cross_configure "$arch" "$root" "$host" "$dir" "${options[@]}"
    else
      cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
    fi
  )
  cmake --build "$dir" --parallel "$jobs" --target boules boules-server
  (cd "$dir" && cpack -G DEB >/dev/null)
  local deb
  deb=$(echo "$dir"/boules_*.deb)
  lintian --fail-on error,warning --display-info --info "$deb"
  tests/tools/check_package.sh "$deb" "${run[@]}"
  echo "built and checked $deb"
}

# The browser edition, built from the same sources with emscripten into build-web/.
web_build() {
  local prefix host
  # The C libraries for WebAssembly, from Debian's sources of the versions installed here.
  prefix=$(tools/web/build-libraries.sh .cache/web | tail -n 1)
  host=$(host_build build-web/host)
  # Libraries built anew (other versions) live in another folder: what the last configure found
  # of the old one must go.
  if [ -f build-web/CMakeCache.txt ] && ! grep -qxF "CMAKE_PREFIX_PATH:UNINITIALIZED=$prefix" build-web/CMakeCache.txt; then
    rm -rf build-web/CMakeCache.txt build-web/CMakeFiles
  fi
  NODE_PATH=/usr/share/nodejs PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" emcmake cmake -S . -B build-web -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF -DBOULES_EMBED_MEDIA=OFF \
    -DBOULES_WERROR="${BOULES_WERROR:-OFF}" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/tools/web/node-emulator.sh" \
    -DBOULES_HOST_QMFTOOL="$PWD/$host/tools/qmftool" -DBOULES_HOST_ICONGEN="$PWD/$host/tools/icongen/icongen" >/dev/null
  NODE_PATH=/usr/share/nodejs nice -n 10 cmake --build build-web --parallel "$jobs" --target site
}

# The browser edition's tests in headless Chromium; they compare its game report with the desktop
# programs' (build/, and the Clang one in build-fuzz/ when the fuzz step built it).
web_test() {
  install_missing "${web_packages[@]}" "${web_test_packages[@]}"
  command -v npm >/dev/null || install_missing npm  # Debian's nodejs comes without it
  BOULES_WERROR=ON web_build
  tests/web/run.sh
}

# --- The test stages: one function each, run by `./setup.sh test [STAGE...]` -----------------

native_build() {  # the suite's build in build/, which the browser tests and the other machines' builds use too
  build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBOULES_WERROR=ON
}

stage_native() {
  install_missing "${test_packages[@]}" "${package_packages[@]}"
  native_build
  (cd build && ctest --output-on-failure --parallel "$jobs")
}

stage_package() {
  install_missing "${package_packages[@]}"
  package
}

stage_sanitize() {
  install_missing "${test_packages[@]}" "${package_packages[@]}"
  build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DBOULES_SANITIZE=ON -DBOULES_BENCH=OFF -DBOULES_WERROR=ON
  (cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure --parallel "$jobs")
}

stage_fuzz() {
  install_missing
  echo "fuzz targets, ${fuzz_seconds} s each"
  fuzz
}

stage_web() {
  install_missing "${test_packages[@]}"
  # The browser tests hold the site's game report against the desktop program's.
  native_build >&2
  web_test
}

# The program for arm64 and for i386 (its arithmetic in SSE2, as the build states), each run under
# qemu's emulator: eight demo games and the menu exactly as this machine's program plays and
# shows them. Only the program is built, with the test build's optimisation.
stage_cross() {
  install_missing "${cross_packages[@]}"
  local host arch root
  host=$(host_build build-cross/host boules)
  for arch in arm64 i386; do
    root=$(cross_root "$arch")
    cross_configure "$arch" "$root" "$host" "build-cross/$arch" -DCMAKE_BUILD_TYPE=Release -DBOULES_WERROR=ON \
      -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
    cmake --build "build-cross/$arch" --parallel "$jobs" --target boules
    echo "$arch: the game under ${emulator_of[$arch]}"
    tests/tools/check_same_game.sh "$host/shell/boules" "${emulator_of[$arch]}" -L "$root" \
      "$PWD/build-cross/$arch/shell/boules"
  done
}

all_stages=(native package sanitize fuzz web cross)

# Runs each stage in a shell of its own (a failing command ends that stage only), then prints a
# line per stage; fails when any stage failed.
run_stages() {
  local stage start status failed=0 summary=()
  for stage in "$@"; do
    echo "== stage $stage"
    start=$SECONDS
    set +e
    (set -e; "stage_$stage")
    status=$?
    set -e
    if ((status == 0)); then status=passed; else status="FAILED ($status)"; failed=1; fi
    summary+=("$(printf '%-9s %-12s %5d s' "$stage" "$status" $((SECONDS - start)))")
    echo "== stage $stage: $status in $((SECONDS - start)) s"
  done
  echo "== test stages"
  printf '%s\n' "${summary[@]}"
  return "$failed"
}

command=${1:-}
shift || true
case "$command" in
  play)
    install_missing
    build build -DCMAKE_BUILD_TYPE=Release -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF -DBOULES_WERROR=OFF
    exec ./build/shell/boules "$@"
    ;;
  serve)
    # One command for everything: the page and its rooms on one address.
    install_missing "${web_packages[@]}"
    web_build
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF -DBOULES_WERROR=OFF >/dev/null
    cmake --build build --parallel "$jobs" --target boules-server
    exec ./build/server/boules-server --listen 127.0.0.1:8000 --site build-web/site
    ;;
  test)
    (($#)) || set -- "${all_stages[@]}"
    for stage in "$@"; do
      if [[ " ${all_stages[*]} " != *" $stage "* ]]; then
        echo "unknown test stage '$stage'; the stages are: ${all_stages[*]}" >&2
        exit 2
      fi
    done
    run_stages "$@"
    ;;
  package)
    case "${1:-}" in
      "" | "$(dpkg --print-architecture)") install_missing "${package_packages[@]}"; package ;;
      arm64) install_missing "${package_packages[@]}" "${cross_packages[@]}"; package arm64 ;;
      *)
        echo "usage: ./setup.sh package [arm64]" >&2
        exit 2
        ;;
    esac
    ;;
  web)
    case "${1:-serve}" in
      build)
        install_missing "${web_packages[@]}"
        web_build
        echo "the site is in build-web/site/: any static web host can serve the folder as it is"
        ;;
      test)
        web_test
        ;;
      serve)
        install_missing "${web_packages[@]}"
        web_build
        exec node tools/web/serve-site.mjs build-web/site 8000
        ;;
      *)
        echo "usage: ./setup.sh web [build|test]" >&2
        exit 2
        ;;
    esac
    ;;
  *)
    echo "usage: ./setup.sh play [options] | ./setup.sh test [STAGE...] | ./setup.sh package [arm64] | ./setup.sh web [build|test] | ./setup.sh serve" >&2
    exit 2
    ;;
esac
