# The part every toolchain file of tools/cross/ shares: Debian's cross compiler for
# BOULES_CROSS_TRIPLET, and every library, header, CMake package and pkg-config file from the
# private root of that architecture's Debian packages that tools/cross/debian-root.sh unpacks
# (-DBOULES_CROSS_ROOT=ROOT). The programs it builds run under qemu's user-mode emulator with
# their loader and libraries from the same root.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${BOULES_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${BOULES_CROSS_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${BOULES_CROSS_MULTIARCH})

if(NOT BOULES_CROSS_ROOT)
  set(BOULES_CROSS_ROOT "$ENV{BOULES_CROSS_ROOT}")
endif()
if(NOT IS_DIRECTORY "${BOULES_CROSS_ROOT}/usr/lib/${BOULES_CROSS_MULTIARCH}")
  message(FATAL_ERROR "BOULES_CROSS_ROOT must name a root of Debian's ${BOULES_DEBIAN_ARCH} packages "
                      "(tools/cross/debian-root.sh ${BOULES_DEBIAN_ARCH} FOLDER prints one)")
endif()
# Configure checks build small projects that read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BOULES_CROSS_ROOT)

set(CMAKE_FIND_ROOT_PATH ${BOULES_CROSS_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR}
    "${BOULES_CROSS_ROOT}/usr/lib/${BOULES_CROSS_MULTIARCH}/pkgconfig:${BOULES_CROSS_ROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${BOULES_CROSS_ROOT})

# Debian keeps a package's headers that differ between architectures in the multiarch folder.
set(CMAKE_C_STANDARD_INCLUDE_DIRECTORIES ${BOULES_CROSS_ROOT}/usr/include/${BOULES_CROSS_MULTIARCH})
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${BOULES_CROSS_ROOT}/usr/include/${BOULES_CROSS_MULTIARCH})

# The libraries the program links name others they need, which the linker finds in the root
# (the sound server's client keeps its private library in a folder of its own).
string(JOIN ":" library_folders
       ${BOULES_CROSS_ROOT}/usr/lib/${BOULES_CROSS_MULTIARCH} ${BOULES_CROSS_ROOT}/lib/${BOULES_CROSS_MULTIARCH}
       ${BOULES_CROSS_ROOT}/usr/lib/${BOULES_CROSS_MULTIARCH}/pulseaudio)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,-rpath-link,${library_folders}")

set(CMAKE_CROSSCOMPILING_EMULATOR ${BOULES_CROSS_QEMU} -L ${BOULES_CROSS_ROOT})
