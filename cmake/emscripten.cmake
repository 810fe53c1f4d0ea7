# WebAssembly build with Emscripten. Its location comes from the environment:
# EMSCRIPTEN_ROOT (the folder holding emcc), else an activated emsdk (EMSDK),
# else Debian's (packages emscripten, node-acorn).
if(DEFINED ENV{EMSCRIPTEN_ROOT})
  set(yishu_emscripten_root $ENV{EMSCRIPTEN_ROOT})
elseif(DEFINED ENV{EMSDK})
  set(yishu_emscripten_root $ENV{EMSDK}/upstream/emscripten)
else()
  set(yishu_emscripten_root /usr/share/emscripten)
endif()
set(yishu_emscripten_platform ${yishu_emscripten_root}/cmake/Modules/Platform/Emscripten.cmake)
if(NOT EXISTS ${yishu_emscripten_platform})
  message(FATAL_ERROR "Emscripten not found: ${yishu_emscripten_platform} is missing. "
                      "Set EMSCRIPTEN_ROOT or EMSDK, or install Debian's (tools/install-deps.sh web).")
endif()
include(${yishu_emscripten_platform})
# Debian's optimiser needs the acorn module, which Debian installs where Node
# does not look by itself: every compile and link runs with NODE_PATH there.
if(yishu_emscripten_root STREQUAL /usr/share/emscripten)
  set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
  set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
endif()
