# The build machine's own tools in a cross build (cmake/hosttools): built with the host's
# compiler and Qt in a build folder of their own, before anything that runs them.
# Sets BLIKON_RENDERICON and BLIKON_MAKEICO (the programs) and BLIKON_HOST_TOOLS (what a
# custom command running one of them depends on).
include(ExternalProject)
set(host_tools_dir ${CMAKE_BINARY_DIR}/hosttools)
set(BLIKON_RENDERICON ${host_tools_dir}/rendericon)
set(BLIKON_MAKEICO ${host_tools_dir}/makeico)
ExternalProject_Add(hosttools
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/hosttools
  BINARY_DIR ${host_tools_dir}
  CMAKE_ARGS -DBLIKON_SOURCE_DIR=${PROJECT_SOURCE_DIR} -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  # Built on every build, so that a change of rendericon.cpp reaches the pictures.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${BLIKON_RENDERICON} ${BLIKON_MAKEICO})
set(BLIKON_HOST_TOOLS hosttools ${BLIKON_RENDERICON} ${BLIKON_MAKEICO})
