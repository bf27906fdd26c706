# Run by cpack on the staged install tree before it is packed: finishes it the way Debian's
# packaging helpers finish a package. Programs lose their symbols and the compiler's notes;
# manual pages and the changelog are compressed at the highest level, with no name or time stamp
# in the gzip header.
set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

function(run_or_fail)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "finishing the package tree: '${ARGN}' failed (${result})")
  endif()
endfunction()

# A Debian game keeps its program in /usr/games (configure with -DCMAKE_INSTALL_BINDIR=games).
if(EXISTS "${root}/bin" OR NOT EXISTS "${root}/games")
  message(FATAL_ERROR "the program must install into games/: configure with -DCMAKE_INSTALL_BINDIR=games")
endif()
file(GLOB programs "${root}/games/*")
foreach(program IN LISTS programs)
  run_or_fail("${CPACK_OBJCOPY_EXECUTABLE}" --strip-all --remove-section=.comment
              --remove-section=.note "${program}")
endforeach()

file(GLOB_RECURSE manual_pages "${root}/share/man/*")
list(FILTER manual_pages EXCLUDE REGEX "\\.gz$")
file(GLOB changelogs "${root}/share/doc/*/changelog")
foreach(document IN LISTS manual_pages changelogs)
  run_or_fail(gzip -9 --no-name "${document}")
endforeach()
