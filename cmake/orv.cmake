# orv_test(NAME SOURCES src... [LIBS lib...] [ENV VAR=value...])
# One GoogleTest program; its cases are listed when ctest runs, so that
# the listing also works through an emulator when cross-compiling.
function(orv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${T_ENV}")
endfunction()
