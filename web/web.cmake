# The browser build, with Debian's emscripten (`make web` runs it through scripts/build-web):
# the same sources as the desktop with platform/web/ for platform/desktop/ (the top-level
# KESTRUNE_PLATFORM=web chooses them and includes this file), TinyXML built
# from Debian's source package, and a data package made from the desktop's run folder.
#   KESTRUNE_TINYXML_DIR  the unpacked TinyXML source
#   KESTRUNE_WEB_PACKAGE  the package folder (kestrune-webdata's output)
#   KESTRUNE_WEB_MUSIC    the folder holding bgmusic.mp3 and lvl2.mp3, served beside the page
set(KESTRUNE_TINYXML_DIR "" CACHE PATH "TinyXML source folder")
set(KESTRUNE_WEB_PACKAGE "" CACHE PATH "Web data package folder")
set(KESTRUNE_WEB_MUSIC "" CACHE PATH "Folder with the music files")
set(KESTRUNE_WEB_OUT "${CMAKE_BINARY_DIR}" CACHE PATH "Where the page and its files go")
foreach(var KESTRUNE_TINYXML_DIR KESTRUNE_WEB_PACKAGE KESTRUNE_WEB_MUSIC)
    if(NOT IS_DIRECTORY "${${var}}")
        message(FATAL_ERROR "${var} must name a folder (scripts/build-web sets it)")
    endif()
endforeach()

add_library(tinyxml STATIC
    ${KESTRUNE_TINYXML_DIR}/tinyxml.cpp ${KESTRUNE_TINYXML_DIR}/tinystr.cpp
    ${KESTRUNE_TINYXML_DIR}/tinyxmlerror.cpp ${KESTRUNE_TINYXML_DIR}/tinyxmlparser.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_compile_options(tinyxml PRIVATE -w)
target_include_directories(tinyxml PUBLIC ${KESTRUNE_TINYXML_DIR})

add_executable(kestrune ${DEMO_SOURCES})
target_include_directories(kestrune PRIVATE ${CMAKE_SOURCE_DIR})
# stb_image from libstb-dev; never all of /usr/include, whose C headers would shadow
# emscripten's own.
target_include_directories(kestrune SYSTEM PRIVATE /usr/include/stb)
target_link_libraries(kestrune PRIVATE tinyxml)
set(WEB_PAGE ${CMAKE_SOURCE_DIR}/web/shell.html)
target_link_options(kestrune PRIVATE
    -sMAX_WEBGL_VERSION=2 -sMIN_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1 -sMINIFY_HTML=0
    -sINVOKE_RUN=0 -sEXIT_RUNTIME=0 -lGL
    "-sEXPORTED_RUNTIME_METHODS=['ENV','FS','callMain','ccall']"
    --preload-file ${KESTRUNE_WEB_PACKAGE}@/ --shell-file ${WEB_PAGE})
set_target_properties(kestrune PROPERTIES OUTPUT_NAME index SUFFIX .html
    RUNTIME_OUTPUT_DIRECTORY ${KESTRUNE_WEB_OUT}
    LINK_DEPENDS "${WEB_PAGE};${KESTRUNE_WEB_OUT}/package.stamp") # the package's last refill

# The music streams from beside the page.
add_custom_command(TARGET kestrune POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy ${KESTRUNE_WEB_MUSIC}/bgmusic.mp3 ${KESTRUNE_WEB_MUSIC}/lvl2.mp3
            ${KESTRUNE_WEB_OUT}/)
