# The page's build of the game: burrowbop.js, burrowbop.wasm and burrowbop.data (the
# install folder's pictures and sounds) in the site folder, beside the page's own
# files. The program is the desktop's; only the platform sources differ.
set(BURROWBOP_SITE_DIR "${PROJECT_BINARY_DIR}/site" CACHE PATH "Where the page is built")
set_target_properties(burrowbop PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY
                                                        ${BURROWBOP_SITE_DIR})
set(BURROWBOP_WEB_FILES ${PROJECT_SOURCE_DIR}/web/pre.js
                        ${PROJECT_SOURCE_DIR}/cmake/web-library-funcs.json
                        ${PROJECT_SOURCE_DIR}/cmake/web-asyncify-remove.json)
target_link_options(burrowbop PRIVATE
    # The message loop and the modal loops block; asyncify lets them hand control back
    # to the browser while they wait.
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=32768
    # Library code that never waits: left as it is, which keeps the wasm small.
    -sASYNCIFY_REMOVE=@${PROJECT_SOURCE_DIR}/cmake/web-asyncify-remove.json -Oz
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432 -sENVIRONMENT=web
    -sEXPORTED_RUNTIME_METHODS=[addRunDependency,removeRunDependency,FS_createPath]
    # What an SDL2 built in emscripten's own tree would add; a file, as make would
    # mangle the '$'.
    -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${PROJECT_SOURCE_DIR}/cmake/web-library-funcs.json
    -lidbfs.js
    "SHELL:--pre-js ${PROJECT_SOURCE_DIR}/web/pre.js"
    "SHELL:--preload-file ${BURROWBOP_ASSET_DIR}/images@/assets/images"
    "SHELL:--preload-file ${BURROWBOP_ASSET_DIR}/sounds@/assets/sounds")
set_property(TARGET burrowbop APPEND PROPERTY LINK_DEPENDS ${BURROWBOP_WEB_FILES})
