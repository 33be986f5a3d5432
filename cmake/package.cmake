# Installation of the static libraries for use by other programs.
#
# Each library's CMakeLists.txt calls orv_install_library, which installs
# the archive, its public headers under include/orv/<folder>/, an export
# set of its own (imported target orv::<lib>) and a pkg-config file
# orv-<lib>.pc.  The package file orvConfig.cmake loads the export sets
# that find_package(orv [COMPONENTS ...]) asks for.  All of it is the
# install component "dev" (the -dev Debian package, cmake/deb.cmake).
# The archives are named liborv-<name>.a (OUTPUT_NAME), so that they
# cannot clash with another project's in a system's library folder.
include(CMakePackageConfigHelpers)

set(ORV_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/orv)
# One include root for the package: headers keep the folder they have in
# the source tree, so that textview.h finds "geom/point.h" installed too.
set(ORV_INCLUDE_ROOT ${CMAKE_INSTALL_INCLUDEDIR}/orv)

# The libraries are C++ inside.  A C program is linked by the C driver,
# which leaves out the C++ runtime, so the installed libraries name it.
# A sanitizer build's archives need the sanitizer runtimes too; clang's C
# driver adds their C++ part only when asked.
set(ORV_INSTALL_LINK_LIBS stdc++)
set(ORV_INSTALL_LINK_OPTS)
if(ORV_SANITIZE)
  set(ORV_INSTALL_LINK_OPTS -fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    list(APPEND ORV_INSTALL_LINK_OPTS -fsanitize-link-c++-runtime)
  endif()
endif()

# pkg-config files find their tree from their own place (${pcfiledir}),
# so that the installed tree can be moved or installed with --prefix.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  message(FATAL_ERROR "the pkg-config files need relative CMAKE_INSTALL_LIBDIR and CMAKE_INSTALL_INCLUDEDIR")
endif()
file(RELATIVE_PATH ORV_PC_UP /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ORV_PC_UP "${ORV_PC_UP}")

# orv_install_library(LIB [HEADER_ONLY] DESCRIPTION text HEADERS h...
#                     [PC_REQUIRES module...] [PC_LIBS flag...])
# PC_REQUIRES and PC_LIBS are what pkg-config users need besides the
# library: the pkg-config modules of its dependencies, and linker flags.
# A HEADER_ONLY library is an INTERFACE target: headers, no archive, and
# nothing to link.
function(orv_install_library lib)
  cmake_parse_arguments(L "HEADER_ONLY" "DESCRIPTION" "HEADERS;PC_REQUIRES;PC_LIBS" ${ARGN})
  cmake_path(GET CMAKE_CURRENT_SOURCE_DIR FILENAME dir)

  # What links a library must agree with it on the 32-bit file types.
  set(abi_defs)
  if(NOT L_HEADER_ONLY)
    target_link_libraries(${lib} INTERFACE $<INSTALL_INTERFACE:${ORV_INSTALL_LINK_LIBS}>)
    if(ORV_INSTALL_LINK_OPTS)
      target_link_options(${lib} INTERFACE $<INSTALL_INTERFACE:${ORV_INSTALL_LINK_OPTS}>)
    endif()
    set(abi_defs ${ORV_ABI_DEFS})
  endif()
  if(abi_defs)
    target_compile_definitions(${lib} INTERFACE $<INSTALL_INTERFACE:${abi_defs}>)
  endif()
  install(TARGETS ${lib} EXPORT orv-${lib}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
  install(FILES ${L_HEADERS} DESTINATION ${ORV_INCLUDE_ROOT}/${dir} COMPONENT dev)
  install(EXPORT orv-${lib} NAMESPACE orv::
    FILE orv-${lib}-targets.cmake DESTINATION ${ORV_CMAKE_DIR} COMPONENT dev)

  # Libs rather than Libs.private: there is no shared library, so every
  # link of these archives is static and needs the whole list.
  list(JOIN L_PC_REQUIRES " " pc_requires)
  list(TRANSFORM ORV_INSTALL_LINK_LIBS PREPEND -l OUTPUT_VARIABLE rt)
  list(JOIN L_PC_LIBS " " pc_libs)
  list(JOIN rt " " pc_rt)
  list(JOIN ORV_INSTALL_LINK_OPTS " " pc_opts)
  string(STRIP "${pc_libs} ${pc_rt} ${pc_opts}" pc_libs)
  set(pc_link "")
  if(NOT L_HEADER_ONLY)
    get_target_property(file ${lib} OUTPUT_NAME)
    if(NOT file)
      set(file ${lib})
    endif()
    set(pc_link "-L\${libdir} -l${file} ${pc_libs}")
  endif()
  set(pc_lib ${lib})
  list(TRANSFORM abi_defs PREPEND -D OUTPUT_VARIABLE pc_cflags)
  list(JOIN pc_cflags " " pc_cflags)
  string(STRIP "-I\${includedir} ${pc_cflags}" pc_cflags)
  set(pc_desc "${L_DESCRIPTION}")
  set(pc ${PROJECT_BINARY_DIR}/pkgconfig/orv-${lib}.pc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/orv-lib.pc.in ${pc} @ONLY)
  install(FILES ${pc} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endfunction()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/orvConfig.cmake.in
  ${PROJECT_BINARY_DIR}/orvConfig.cmake
  INSTALL_DESTINATION ${ORV_CMAKE_DIR}
  NO_SET_AND_CHECK_MACRO)
# A new minor version adds to what the libraries offer and takes nothing
# away (0.2 has all of 0.1), so a project that asks for 0.1 builds
# against any 0.x from 0.1 on; a change that breaks callers is a new
# major version.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/orvConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/orvConfig.cmake
  ${PROJECT_BINARY_DIR}/orvConfigVersion.cmake
  DESTINATION ${ORV_CMAKE_DIR} COMPONENT dev)
