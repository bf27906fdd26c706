# Writes SITE/index.html from TEMPLATE with the byte sizes of the files the page loads, so that
# its progress bar is right whatever the server says about them.
foreach(file boules.wasm boules.data MyMovie.qmf)
  file(SIZE ${SITE}/${file} size)
  string(MAKE_C_IDENTIFIER ${file} name)
  set(SIZE_${name} ${size})
endforeach()
configure_file(${TEMPLATE} ${SITE}/index.html @ONLY)
