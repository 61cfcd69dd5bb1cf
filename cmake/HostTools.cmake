# The data tools (tools/) run on the build machine. A native build builds them with everything
# else; a cross build builds them as a project of their own with the build machine's compiler
# (no toolchain file) and imports the programs under the same target names.
if(NOT CMAKE_CROSSCOMPILING)
  add_subdirectory("${PROJECT_SOURCE_DIR}/tools" "${PROJECT_BINARY_DIR}/tools")
  return()
endif()

include(ExternalProject)
set(host_tools_dir "${PROJECT_BINARY_DIR}/host-tools")
if(CMAKE_HOST_WIN32)
  set(host_suffix ".exe")
else()
  set(host_suffix "")
endif()
set(host_tools vostrel_gallows)
list(TRANSFORM host_tools APPEND "${host_suffix}" OUTPUT_VARIABLE host_tool_files)
list(TRANSFORM host_tool_files PREPEND "${host_tools_dir}/")

ExternalProject_Add(vostrel_host_tools
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/tools"
  BINARY_DIR "${host_tools_dir}"
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DVOSTREL_WERROR=${VOSTREL_WERROR}
  INSTALL_COMMAND ""
  # The tools' own build knows when they are out of date.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${host_tool_files})

foreach(tool file IN ZIP_LISTS host_tools host_tool_files)
  add_executable(${tool} IMPORTED)
  # They run here, not under the emulator that runs the cross-compiled tests.
  set_target_properties(${tool} PROPERTIES IMPORTED_LOCATION "${file}" CROSSCOMPILING_EMULATOR "")
  add_dependencies(${tool} vostrel_host_tools)
endforeach()
