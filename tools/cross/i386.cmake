# i386 (32-bit x86) with Debian's cross compiler against a private root of Debian's i386 packages
# (see debian-root.cmake):
#   cmake -S . -B build-cross/i386 --toolchain tools/cross/i386.cmake -DBOULES_CROSS_ROOT=ROOT
# Its floating point is SSE2's, as the project's CMakeLists.txt states for every 32-bit x86 build.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BOULES_DEBIAN_ARCH i386)
set(BOULES_CROSS_TRIPLET i686-linux-gnu)
set(BOULES_CROSS_MULTIARCH i386-linux-gnu)
set(BOULES_CROSS_QEMU qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/debian-root.cmake)
