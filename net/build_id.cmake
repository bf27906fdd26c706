# Writes the build id (net/build_id.h) into OUTPUT: the first 16 hexadecimal digits of the SHA-256
# of every file listed in LIST (one path a line, relative to ROOT), each as its path and its
# content's SHA-256, in the order of their paths. Paths are relative so that the id does not
# depend on where the sources lie.
#   cmake -DROOT=DIR -DLIST=FILE -DOUTPUT=FILE -P build_id.cmake
file(STRINGS "${LIST}" files)
list(SORT files)
set(summary "")
foreach(file IN LISTS files)
  file(SHA256 "${ROOT}/${file}" digest)
  string(APPEND summary "${file} ${digest}\n")
endforeach()
string(SHA256 id "${summary}")
string(SUBSTRING "${id}" 0 16 id)
set(text "// Made by net/build_id.cmake from the game's sources and media.\n#include \"net/build_id.h\"\n\nnamespace qn::net {\n\nstd::string_view buildId() { return \"${id}\"; }\n\n}  // namespace qn::net\n")
# Written only when it changed, so that nothing rebuilds for nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
