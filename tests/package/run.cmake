# Install, build the C program and a function library against the
# installed tree, run them.
# Reads build, work, src, config, generator, make, cc, toolchain, sysroot,
# emu, libdir, bindir and expect from the script that includes it.

# run(what cmd...): runs a command, fails the test with its output if it
# fails, and leaves that output in `out`.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc
    OUTPUT_VARIABLE o ERROR_VARIABLE o)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${o}")
  endif()
  set(out "${o}" PARENT_SCOPE)
endfunction()

set(prefix ${work}/prefix)
file(REMOVE_RECURSE ${work})
run("install" ${CMAKE_COMMAND} --install ${build} --prefix ${prefix} --config ${config})
foreach(f IN LISTS expect)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

set(opts -G ${generator} -DCMAKE_MAKE_PROGRAM=${make} -DCMAKE_BUILD_TYPE=${config})
if(toolchain)
  # The toolchain confines package searches to the target tree, where
  # the scratch prefix is not: the package is named by its folder.  And
  # pkg-config would put the target tree's root before every path of the
  # scratch prefix too; a cross build installs into the target tree for
  # pkg-config, so it is checked natively only.
  list(APPEND opts -DCMAKE_TOOLCHAIN_FILE=${toolchain} -DORV_SYSROOT=${sysroot}
    -Dorv_DIR=${prefix}/${libdir}/cmake/orv -DUSE_PKG_CONFIG=OFF)
  set(programs use-cmake)
else()
  list(APPEND opts -DCMAKE_C_COMPILER=${cc} -DCMAKE_PREFIX_PATH=${prefix})
  set(programs use-cmake use-pc)
endif()
run("configuring the C project" ${CMAKE_COMMAND} -S ${src} -B ${work}/build ${opts})
run("building the C project" ${CMAKE_COMMAND} --build ${work}/build)

foreach(p IN LISTS programs)
  run(${p} ${emu} ${work}/build/bin/${p} ${work}/${p}.txt)
  if(NOT out MATCHES "use: ok\n")
    message(FATAL_ERROR "${p} said:\n${out}")
  endif()
  message(STATUS "${p}: ok")
endforeach()

# Function libraries built from the installed tree and loaded by the
# installed orv: the C project's, built with orv::cfunc, and natively
# one more built as docs/function-libraries.md says, with the C compiler and pkg-config.
# The values orv makes are never released, by design: under the
# sanitizers, the options of the run (tools/sanitizer-options) with leak
# detection off.
set(orv ${CMAKE_COMMAND} -E env "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}:detect_leaks=0"
  ${emu} ${prefix}/${bindir}/orv)
set(libs ${work}/build/lib/libfn.so)
if(NOT toolchain)
  set(pc ${work}/pc/orvlib.so)
  file(MAKE_DIRECTORY ${work}/pc)
  run("building a function library with pkg-config"
    ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/${libdir}/pkgconfig --unset=PKG_CONFIG_SYSROOT_DIR
    sh -c "\"$1\" -shared -fPIC -Wall -Wextra -Werror -o \"$2\" \"$3\" $(pkg-config --cflags orv-cfunc)"
    sh ${cc} ${pc} ${src}/fn.c)
  list(APPEND libs ${pc})
endif()
foreach(l IN LISTS libs)
  run("orv -l ${l}" ${orv} -l ${l} -e "x = {Sum(1,2,3.5),Swap(@a,{1,2}),Greet(@you)}")
  if(NOT out STREQUAL "x = {6.5,{{1,2},@a},@hello you}\n")
    message(FATAL_ERROR "orv -l ${l} said:\n${out}")
  endif()
  message(STATUS "function library ${l}: ok")
endforeach()

# The installed geometry library answers orvcalc's call.
run("orv with the geometry library" ${orv} -l ${prefix}/${libdir}/orv/orvlib.so
  -e "line1 = Segment({3,9},{4,10,@string 1})")
if(NOT out STREQUAL "line1 = 1.414213562373095\n")
  message(FATAL_ERROR "orv with the geometry library said:\n${out}")
endif()
message(STATUS "geometry library: ok")

# geomlib and editbuf need neither SDL2 nor SDL2_ttf: not through the
# CMake package, with both made unfindable ...
run("configuring the geometry project" ${CMAKE_COMMAND} -S ${src}/../geom -B ${work}/geom ${opts}
  -DCMAKE_DISABLE_FIND_PACKAGE_SDL2=ON -DCMAKE_DISABLE_FIND_PACKAGE_SDL2_ttf=ON)
run("building the geometry project" ${CMAKE_COMMAND} --build ${work}/geom)
run(geom-cmake ${emu} ${work}/geom/bin/geom-cmake)
if(NOT out STREQUAL "geom: ok\n")
  message(FATAL_ERROR "geom-cmake said:\n${out}")
endif()
# ... nor through pkg-config, which sees the installed files alone.
if(NOT toolchain)
  set(ENV{PKG_CONFIG_LIBDIR} ${prefix}/${libdir}/pkgconfig)
  run("pkg-config of orv-geomlib and orv-editbuf" pkg-config --cflags --libs orv-geomlib orv-editbuf)
  if(out MATCHES "SDL")
    message(FATAL_ERROR "orv-geomlib and orv-editbuf name SDL: ${out}")
  endif()
  execute_process(COMMAND pkg-config --libs orv-textview RESULT_VARIABLE rc
    OUTPUT_QUIET ERROR_QUIET)
  if(rc EQUAL 0)
    message(FATAL_ERROR "orv-textview resolved without sdl2.pc in sight: the check is blind")
  endif()
endif()
message(STATUS "geomlib and editbuf without SDL: ok")
