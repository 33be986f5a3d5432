# Install, build the C program against the installed tree, run it.
# Reads build, work, src, config, generator, make, cc, toolchain, sysroot,
# emu, libdir and expect from the script that includes it.

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
