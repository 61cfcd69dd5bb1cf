# The web face is built with the emscripten found on PATH (Debian's package, or an SDK): this
# takes its own toolchain file from beside its emcc.
find_program(VOSTREL_EMCC emcc REQUIRED)
get_filename_component(emcc_real "${VOSTREL_EMCC}" REALPATH)
get_filename_component(emscripten_root "${emcc_real}" DIRECTORY)
include("${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")

# Emscripten's linker runs JavaScript tools that need modules (acorn): Debian keeps them where only
# Debian's own node looks, an SDK beside emcc. Any node first on PATH is told where they are.
find_path(VOSTREL_NODE_MODULES acorn/package.json
  PATHS "${emscripten_root}/node_modules" "${emscripten_root}/../nodejs" NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH)
if(VOSTREL_NODE_MODULES)
  set(CMAKE_CXX_LINKER_LAUNCHER "${CMAKE_COMMAND}" -E env "NODE_PATH=${VOSTREL_NODE_MODULES}")
endif()
