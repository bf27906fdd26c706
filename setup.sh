#!/usr/bin/env bash
# Installs what a fresh Debian machine is missing, builds, then plays the game or runs the tests.
#   ./setup.sh play [program options]   build and start the game
#   ./setup.sh test [STAGE...]          run the test stages (all, or the ones named), each to its
#                                       end even when an earlier one failed, then a line per stage
#                                       with its result and time: native (build and run the whole
#                                       suite), package (build and check the Debian package),
#                                       sanitize (the suite under ASan+UBSan), fuzz (every fuzz
#                                       target for a bounded time), web (the browser edition's tests)
#   ./setup.sh package                  build the Debian package from a clean Release build and
#                                       check it (lintian, install/run/remove in a throw-away root)
#   ./setup.sh web [build|test]         build the browser edition (build-web/site/) and serve it on
#                                       http://127.0.0.1:8000/; or only build it; or build it and
#                                       run the browser tests
set -euo pipefail
cd "$(dirname "$0")"

packages=(
  build-essential cmake ninja-build pkg-config clang
  libsdl2-dev zlib1g-dev libvorbisidec-dev libsoxr-dev libstb-dev
  libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-wine
  libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev nlohmann-json3-dev
)
# Only the tests need these: they rebuild the art and sound generators and check that the
# committed assets are exactly what the generators make, and validate the installed desktop entry.
test_packages=(libcairo2-dev libvorbis-dev desktop-file-utils)
# The Debian package needs these (dpkg-dev comes with build-essential): `file` for CPack's
# dependency scan, the checker, and fakeroot to install into a throw-away root when not root.
package_packages=(file lintian fakeroot desktop-file-utils)
# The browser edition: the compiler, the tools that unpack Debian's source packages of the
# libraries, the fonts packed with the site, a web server; its tests drive Debian's Chromium.
web_packages=(emscripten dpkg-dev python3)
web_test_packages=(chromium)

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

package() {  # builds build-package/boules_VERSION_ARCH.deb from scratch, then checks it
  rm -rf build-package
  (
    # Debian's hardening flags; the optimisation is Release's, and the package keeps no debug data.
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CFLAGS_MAINT_STRIP="-g -O2" \
            DEB_CXXFLAGS_MAINT_STRIP="-g -O2" dpkg-buildflags --export=sh)"
    CFLAGS="$CFLAGS $CPPFLAGS" CXXFLAGS="$CXXFLAGS $CPPFLAGS" cmake -S . -B build-package -G Ninja \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_BINDIR=games -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF \
      -DBOULES_WERROR=OFF >/dev/null
  )
  cmake --build build-package --parallel "$jobs" --target boules
  (cd build-package && cpack -G DEB >/dev/null)
  local deb
  deb=$(echo build-package/boules_*.deb)
  lintian --fail-on error,warning --display-info --info "$deb"
  tests/tools/check_package.sh "$deb"
  echo "built and checked $deb"
}

# The browser edition, built from the same sources with emscripten into build-web/.
web_build() {
  local prefix host
  # The C libraries for WebAssembly, from Debian's sources of the versions installed here.
  prefix=$(tools/web/build-libraries.sh .cache/web | tail -n 1)
  # The build runs its media packer and icon maker on this machine: from the desktop build when
  # there is one, else from a small one of their own.
  host=build
  if [ ! -f build/CMakeCache.txt ]; then
    host=build-web/host
    cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBOULES_TESTS=OFF -DBOULES_BENCH=OFF \
      -DBOULES_WERROR=OFF >/dev/null
  fi
  cmake --build "$host" --parallel "$jobs" --target qmftool icongen
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
  BOULES_WERROR=ON web_build
  tests/web/run.sh
}

# --- The test stages: one function each, run by `./setup.sh test [STAGE...]` -----------------

native_build() {  # the suite's build in build/, which the package check and the browser tests use too
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
  native_build >/dev/null
  web_test
}

all_stages=(native package sanitize fuzz web)

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
    install_missing "${package_packages[@]}"
    package
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
        echo "the game is on http://127.0.0.1:8000/ (Ctrl+C stops it)"
        exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web/site
        ;;
      *)
        echo "usage: ./setup.sh web [build|test]" >&2
        exit 2
        ;;
    esac
    ;;
  *)
    echo "usage: ./setup.sh play [options] | ./setup.sh test [STAGE...] | ./setup.sh package | ./setup.sh web [build|test]" >&2
    exit 2
    ;;
esac
