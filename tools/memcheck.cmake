# Runs the programs of a build under valgrind's memcheck: every program
# that a test starts (once per program, not once per test case), then
# orvcalc without a function library and once with each stand-in one,
# and orv on the example with the geometry library and with a trace.
#   cmake -DBUILD=dir -DSUPP=file [-DONLY=regex] -P tools/memcheck.cmake
# A program fails on any error memcheck reports: invalid reads and
# writes, uses of uninitialised values, bad frees, and leaks (definite,
# indirect or possible) that SUPP does not describe.  Logs go to
# BUILD/memcheck/<name>.log.
cmake_minimum_required(VERSION 3.25)

set(logs ${BUILD}/memcheck)
file(REMOVE_RECURSE ${logs})
file(MAKE_DIRECTORY ${logs})

set(vg valgrind --tool=memcheck --error-exitcode=99
  --leak-check=full --show-leak-kinds=definite,indirect,possible
  --errors-for-leak-kinds=definite,indirect,possible
  --track-origins=yes --num-callers=40 --child-silent-after-fork=yes
  --gen-suppressions=all --suppressions=${SUPP})

set(ran 0)
set(failed)

# check(name dir env cmd...): runs cmd in dir under valgrind, with the
# NAME=value entries of env (a list) added to the environment.
function(check name dir env)
  if(ONLY AND NOT name MATCHES "${ONLY}")
    return()
  endif()
  set(log ${logs}/${name}.log)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env}
      ${vg} --log-file=${log} ${ARGN}
    WORKING_DIRECTORY ${dir}
    OUTPUT_FILE ${logs}/${name}.out ERROR_FILE ${logs}/${name}.err
    RESULT_VARIABLE rc)
  file(STRINGS ${log} summary REGEX "ERROR SUMMARY")
  string(REGEX REPLACE ".*ERROR SUMMARY: ([0-9]+) errors.*" "\\1" errors "${summary}")
  math(EXPR ran "${ran} + 1")
  set(ran ${ran} PARENT_SCOPE)
  if(rc EQUAL 0 AND errors STREQUAL "0")
    message(STATUS "ok      ${name}")
    return()
  endif()
  # 99 is memcheck's own verdict; any other failure is the program's.
  if(rc EQUAL 99)
    set(why "${errors} errors")
  else()
    set(why "exit status ${rc}, ${errors} errors")
  endif()
  message(STATUS "FAILED  ${name}: ${why}, see ${log}")
  list(APPEND failed ${name})
  set(failed ${failed} PARENT_SCOPE)
endfunction()

# The tests' commands, as ctest would run them.
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${BUILD} --show-only=json-v1
  OUTPUT_VARIABLE json RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot list the tests: ${err}")
endif()

set(seen)
string(JSON ntests LENGTH "${json}" tests)
math(EXPR last "${ntests} - 1")
foreach(i RANGE ${last})
  string(JSON ncmd ERROR_VARIABLE none LENGTH "${json}" tests ${i} command)
  if(none OR ncmd EQUAL 0)
    continue()
  endif()
  set(cmd)
  math(EXPR l "${ncmd} - 1")
  foreach(j RANGE ${l})
    string(JSON a GET "${json}" tests ${i} command ${j})
    # A test case of a GoogleTest program: the program runs once whole.
    if(NOT a MATCHES "^--gtest_(filter=|also_run_disabled_tests)")
      list(APPEND cmd "${a}")
    endif()
  endforeach()

  set(dir ${BUILD})
  set(env)
  string(JSON nprop ERROR_VARIABLE none LENGTH "${json}" tests ${i} properties)
  if(NOT none AND nprop GREATER 0)
    math(EXPR l "${nprop} - 1")
    foreach(j RANGE ${l})
      string(JSON p GET "${json}" tests ${i} properties ${j} name)
      if(p STREQUAL "WORKING_DIRECTORY")
        string(JSON dir GET "${json}" tests ${i} properties ${j} value)
      elseif(p STREQUAL "ENVIRONMENT")
        string(JSON n LENGTH "${json}" tests ${i} properties ${j} value)
        math(EXPR n "${n} - 1")
        foreach(k RANGE ${n})
          string(JSON e GET "${json}" tests ${i} properties ${j} value ${k})
          list(APPEND env "${e}")
        endforeach()
      endif()
    endforeach()
  endif()

  # A launcher "cmake -E env NAME=value... program" passes the
  # environment on; any other cmake command runs a script, not a
  # program of the build.
  list(GET cmd 0 prog)
  get_filename_component(base "${prog}" NAME)
  if(base STREQUAL "cmake")
    list(LENGTH cmd n)
    if(n LESS 4)
      continue()
    endif()
    list(SUBLIST cmd 1 2 head)
    if(NOT head STREQUAL "-E;env")
      continue()
    endif()
    list(SUBLIST cmd 3 -1 cmd)
    while(cmd)
      list(GET cmd 0 a)
      if(NOT a MATCHES "^[A-Za-z_][A-Za-z0-9_]*=")
        break()
      endif()
      list(APPEND env "${a}")
      list(REMOVE_AT cmd 0)
    endwhile()
    if(NOT cmd)
      continue()
    endif()
    list(GET cmd 0 prog)
    get_filename_component(base "${prog}" NAME)
  endif()

  # A program of this machine (sh running a test's script) is not ours
  # to check.
  string(FIND "${prog}" "${BUILD}/" at)
  if(NOT at EQUAL 0)
    continue()
  endif()

  set(key "${dir}|${env}|${cmd}")
  if(key IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${key}")
  # A program that several tests start with different arguments gets a
  # log for each.
  set(name ${base})
  set(k 1)
  while(name IN_LIST names)
    math(EXPR k "${k} + 1")
    set(name ${base}.${k})
  endwhile()
  list(APPEND names ${name})
  check(${name} "${dir}" "${env}" ${cmd})
endforeach()

# orvcalc takes no arguments and loads its function libraries by file
# name: once with none to be found, then with each stand-in folder.
set(orvcalc ${BUILD}/bin/orvcalc)
if(EXISTS ${orvcalc})
  set(tmp ${logs}/run)
  file(MAKE_DIRECTORY ${tmp})
  check(orvcalc ${tmp} "LD_LIBRARY_PATH=" ${orvcalc})
  file(GLOB libs ${BUILD}/tests/standins/orvlib/*/*.so)
  set(dirs)
  foreach(l IN LISTS libs)
    get_filename_component(d ${l} DIRECTORY)
    list(APPEND dirs ${d})
  endforeach()
  list(REMOVE_DUPLICATES dirs)
  foreach(d IN LISTS dirs)
    get_filename_component(n ${d} NAME)
    check(orvcalc.${n} ${tmp} "LD_LIBRARY_PATH=${d}" ${orvcalc})
  endforeach()
else()
  message(STATUS "no orvcalc in ${BUILD}/bin: not checked")
endif()

# orv on the example with the geometry library, and once with a trace.
# (A message would make its exit status 1, which counts as a failure.)
set(orv ${BUILD}/bin/orv)
if(EXISTS ${orv})
  set(tmp ${logs}/run)
  file(MAKE_DIRECTORY ${tmp})
  get_filename_component(src ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
  check(orv.example ${tmp} "LD_LIBRARY_PATH=" ${orv} -l ${BUILD}/lib/orv/orvlib.so
    -p line1 -p legs -p turn -p arc -p toward ${src}/examples/corner.orv)
  check(orv.trace ${tmp} "LD_LIBRARY_PATH=" ${orv} -t -e "A = {3,9}" -e "x = {A,A,@a  b}")
else()
  message(STATUS "no orv in ${BUILD}/bin: not checked")
endif()

list(LENGTH failed nfailed)
message(STATUS "memcheck: ${ran} runs, ${nfailed} failed")
if(failed)
  message(FATAL_ERROR "memcheck failed: ${failed}")
endif()
