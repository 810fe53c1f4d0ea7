# WebAssembly build with Debian's Emscripten (packages emscripten, node-acorn).
# Its optimiser needs the acorn module, which Debian installs where Node does
# not look by itself: every compile and link runs with NODE_PATH pointing there.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
