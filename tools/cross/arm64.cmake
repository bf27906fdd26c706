# arm64 (64-bit ARM) with Debian's cross compiler against a private root of Debian's arm64
# packages (see debian-root.cmake):
#   cmake -S . -B build-cross/arm64 --toolchain tools/cross/arm64.cmake -DBOULES_CROSS_ROOT=ROOT
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(BOULES_DEBIAN_ARCH arm64)
set(BOULES_CROSS_TRIPLET aarch64-linux-gnu)
set(BOULES_CROSS_MULTIARCH aarch64-linux-gnu)
set(BOULES_CROSS_QEMU qemu-aarch64)
# GCC notes where a pair's passing differs from GCC 9 and older; nothing here links such code.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)
include(${CMAKE_CURRENT_LIST_DIR}/debian-root.cmake)
