# The Debian packages, made by CPack from the install components
# (tools/package runs it):
#   orv         component "programs": the programs, their manual pages,
#               the libraries they load, under orv/ in the library
#               folder, and the example for orv
#   liborv-dev  component "dev": the static libraries, headers, the CMake
#               package and the pkg-config files
# A program joins a package through the COMPONENT of its install().
# Dependencies on shared libraries are computed by dpkg-shlibdeps; a
# cross build computes them against the dpkg database of its target tree.
set(ORV_DEB_RELEASE 1)
set(ORV_DEB_VERSION ${PROJECT_VERSION}-${ORV_DEB_RELEASE})
set(ORV_DEB_MAINTAINER "The orv developers <orv@example.org>")

# Each package's documentation folder holds the licence (copyright), the
# Debian changelog and the project's own, compressed as Debian has them.
set(deb_docs ${PROJECT_BINARY_DIR}/deb)
configure_file(${CMAKE_CURRENT_LIST_DIR}/deb/changelog.in ${deb_docs}/changelog.Debian @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/CHANGELOG.md ${deb_docs}/changelog COPYONLY)
find_program(ORV_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${deb_docs}/changelog.Debian.gz ${deb_docs}/changelog.gz
  COMMAND ${ORV_GZIP} -9nfk ${deb_docs}/changelog.Debian ${deb_docs}/changelog
  DEPENDS ${deb_docs}/changelog.Debian ${deb_docs}/changelog
  VERBATIM)
add_custom_target(debdocs ALL DEPENDS ${deb_docs}/changelog.Debian.gz ${deb_docs}/changelog.gz)
foreach(pc orv:programs liborv-dev:dev)
  string(REPLACE ":" ";" pc ${pc})
  list(GET pc 0 pkg)
  list(GET pc 1 comp)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/deb/copyright
    ${deb_docs}/changelog.Debian.gz ${deb_docs}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${pkg} COMPONENT ${comp})
endforeach()

if(CMAKE_CROSSCOMPILING)
  set(arch ${ORV_DEB_ARCH})
else()
  execute_process(COMMAND dpkg --print-architecture
    OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()

# A C program that links the libraries needs the C++ runtime's -dev
# package; textview needs SDL2's and SDL2_ttf's, and the fonts.
set(stdcxx libstdc++-dev)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  string(REGEX MATCH "^[0-9]+" major ${CMAKE_CXX_COMPILER_VERSION})
  set(stdcxx libstdc++-${major}-dev)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The orv developers")
set(CPACK_PACKAGE_CONTACT ${ORV_DEB_MAINTAINER})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL programs dev)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ORV_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${arch})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORV_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME orv)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_DEPENDS fonts-liberation)
set(CPACK_DEBIAN_PROGRAMS_DESCRIPTION "small tool set: bracket-language interpreter, editor, compile driver
The orv tool set, for Debian on 32-bit ARM and on x86-64. orv evaluates
definitions of a small bracket language and prints their values, with
function libraries loaded at run time, among them the plane geometry
library orvlib.so of this package; orvcalc runs the interpreter on its
built-in definitions and traces every token; orvedit edits a text file
in an SDL window; twopass preprocesses a C source into a file, then
compiles that file; hello-gcc and hello-clang print one greeting, built
by two compilers. The libraries orvlib.so and plotplug.so (an SDL2
plug-in, orvedit's mark of unsaved changes) lie in the orv folder of the
library folder.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME liborv-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
  "libsdl2-dev, libsdl2-ttf-dev, ${stdcxx}, fonts-liberation")
set(CPACK_DEBIAN_DEV_DESCRIPTION "static libraries of the orv tool set
Static libraries with C headers, for C and C++ programs: geomlib
(liborv-geom.a), plane geometry on arithmetic of its own, exact to the
bit on every target; textview (liborv-textview.a), text layout and
drawing with SDL2 and SDL2_ttf for a host editor; editbuf
(liborv-editbuf.a), an editor's text buffer; and the header of function
libraries for the interpreter, interp/cfunc.h.
The headers are in /usr/include/orv. The CMake package orv and the
pkg-config files orv-geomlib, orv-textview, orv-editbuf and orv-cfunc
give the flags to build with them.")

if(CMAKE_CROSSCOMPILING)
  # dpkg-shlibdeps looks for the target's libraries in its tree, and for
  # their packages in the tree's dpkg database (deb/shlibdeps).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${ORV_SYSROOT}/lib/${CMAKE_LIBRARY_ARCHITECTURE}
    ${ORV_SYSROOT}/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE})
  set(CPACK_ORV_SHLIBDEPS ${CMAKE_CURRENT_LIST_DIR}/deb/shlibdeps ${ORV_SYSROOT} ${arch})
endif()

# Packages install under /usr, with the libraries in Debian's folder
# for the architecture; a build configured otherwise makes none.
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR
   NOT CMAKE_INSTALL_LIBDIR STREQUAL "lib/${CMAKE_LIBRARY_ARCHITECTURE}")
  set(CPACK_ORV_UNFIT "this build installs into ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}, \
not /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}: configure it with -DCMAKE_INSTALL_PREFIX=/usr")
endif()
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/deb/check.cmake)

include(CPack)
