# orv_test(NAME SOURCES src... [LIBS lib...] [ENV VAR=value...])
# One GoogleTest program with the tests' support library
# (tests/support); its cases are listed when ctest runs, so that the
# listing also works through an emulator when cross-compiling.  A test
# that starts another program of the build puts the string ORV_EMULATOR
# (from the support library) before its path: empty natively, the
# emulator command (qemu) in a cross build, where the machine cannot run
# target programs.
function(orv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} testsupport GTest::gtest_main)
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
