# orv_test(NAME SOURCES src... [LIBS lib...] [ENV VAR=value...])
# One GoogleTest program; its cases are listed when ctest runs, so that
# the listing also works through an emulator when cross-compiling.
# A test that starts another program of the build puts the string
# ORV_EMULATOR before its path: empty natively, the emulator command
# (qemu) in a cross build, where the machine cannot run target programs.
function(orv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emu)
  target_compile_definitions(${name} PRIVATE "ORV_EMULATOR=\"${emu}\"")
  # The program is listed and run through this command, so the
  # environment holds for the listing too, and several VAR=value pass
  # intact (a list-valued test property would be split on its way).
  if(T_ENV)
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
      ${CMAKE_COMMAND} -E env ${T_ENV} ${CMAKE_CROSSCOMPILING_EMULATOR})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60)
endfunction()
