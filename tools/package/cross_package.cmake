# Read by cpack in a build for another architecture: dpkg-shlibdeps, which CPack runs, computes
# the dependencies for the package's architecture from the dpkg database of that architecture's
# root, never from this machine's.
set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
set(ENV{DPKG_ADMINDIR} ${CPACK_BOULES_DPKG_ADMINDIR})
