# The version for programs to report (--version): the header
# "orv/version.h", through the interface library orv::version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in
  ${PROJECT_BINARY_DIR}/include/orv/version.h @ONLY)
add_library(orvversion INTERFACE)
add_library(orv::version ALIAS orvversion)
target_include_directories(orvversion INTERFACE ${PROJECT_BINARY_DIR}/include)
