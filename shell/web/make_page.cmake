# Fills in the site's templates (PAGE, the index.html, and WORKER, service_worker.js, into SITE):
# index.html gets the byte sizes of the files the page loads (the finer media sets too), so that
# its progress bars are right whatever the server says about them; service_worker.js gets every file of the site with its
# SHA-256, and the build's version made from them, so that a new build replaces the old one whole
# and never keeps a file of another build.
foreach(file boules.wasm boules.data MyMovie.qmf)
  file(SIZE ${SITE}/${file} size)
  string(MAKE_C_IDENTIFIER ${file} name)
  set(SIZE_${name} ${size})
endforeach()
set(FINER_SETS "")
foreach(scale 2 3 4)
  if(EXISTS ${SITE}/MyMovie@${scale}x.qmf)
    file(SIZE ${SITE}/MyMovie@${scale}x.qmf size)
    string(APPEND FINER_SETS "${scale}: ${size}, ")
  endif()
endforeach()
configure_file(${PAGE} ${SITE}/index.html @ONLY)

file(GLOB site_files RELATIVE ${SITE} ${SITE}/*)
list(SORT site_files)
set(SITE_FILES "")
foreach(file IN LISTS site_files)
  if(file MATCHES "\\.(gz|br)$" OR file STREQUAL "service_worker.js")
    continue()
  endif()
  file(SHA256 ${SITE}/${file} hash)
  set(later false)
  if(file MATCHES "@[0-9]x\\.qmf$")
    set(later true)  # a finer media set: kept once a page fetches it
  endif()
  string(APPEND SITE_FILES "  ['${file}', '${hash}', ${later}],\n")
endforeach()
string(SHA256 SITE_VERSION "${SITE_FILES}")
string(SUBSTRING ${SITE_VERSION} 0 16 SITE_VERSION)
configure_file(${WORKER} ${SITE}/service_worker.js @ONLY)
