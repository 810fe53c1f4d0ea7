# Copies the page's files and the compiled module into OUT, puts the texts of
# every language into the page (localize-page.mjs) and a preload of each of
# its modules (preload-modules.mjs), then writes the
# service worker with the list of files to keep offline. The cache is named
# after a hash of every file, so that a changed page replaces the old cache.
file(REMOVE_RECURSE ${OUT})
file(COPY ${SOURCE}/ DESTINATION ${OUT} PATTERN "sw.js.in" EXCLUDE)
file(COPY ${MODULE_DIR}/yishu.mjs ${MODULE_DIR}/yishu.wasm ${MODULE_DIR}/yishu-scalar.mjs ${MODULE_DIR}/yishu-scalar.wasm
     DESTINATION ${OUT})
# The version is in the page from the start: written later, it made the
# footer, the largest text on a phone, paint again once the core had loaded.
file(READ ${OUT}/index.html page)
string(REPLACE "<span id=\"version\"></span>" "<span id=\"version\">yishu ${VERSION}</span>" page "${page}")
file(WRITE ${OUT}/index.html "${page}")
execute_process(COMMAND ${NODE} ${CMAKE_CURRENT_LIST_DIR}/localize-page.mjs ${OUT} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${NODE} ${CMAKE_CURRENT_LIST_DIR}/preload-modules.mjs ${OUT} COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE files RELATIVE ${OUT} ${OUT}/*)
list(SORT files)
set(digest "")
set(FILE_LIST "")
foreach(f IN LISTS files)
  file(SHA256 ${OUT}/${f} h)
  string(APPEND digest "${f}:${h}\n")
  string(APPEND FILE_LIST "  './${f}',\n")
endforeach()
string(SHA256 digest "${digest}")
string(SUBSTRING ${digest} 0 12 BUILD_HASH)
configure_file(${SOURCE}/sw.js.in ${OUT}/sw.js @ONLY)
