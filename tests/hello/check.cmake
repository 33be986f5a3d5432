# Runs hello-gcc and hello-clang (through the emulator when there is
# one), with and without arguments: each must write exactly the twelve
# bytes of "hello clang\n", nothing on standard error, and exit with 0;
# when its line cannot be written it must exit with 1.  Each program must
# also come from its own compiler: clang leaves its version in the
# program's comment section, GCC does not.
# Set by the caller: gcc, clang (the programs), emu (a list), tmp (a
# scratch file).

set(want "68656c6c6f20636c616e670a")

foreach(prog IN ITEMS "${gcc}" "${clang}")
  foreach(args IN ITEMS "" "--help" "-o;out;a b;hello gcc")
    file(REMOVE "${tmp}")
    execute_process(COMMAND ${emu} "${prog}" ${args}
      OUTPUT_FILE "${tmp}" ERROR_VARIABLE err RESULT_VARIABLE rc)
    file(READ "${tmp}" out HEX)
    if(NOT rc STREQUAL "0" OR NOT out STREQUAL want OR NOT err STREQUAL "")
      message(SEND_ERROR "${prog} [${args}]: exit ${rc}, wrote ${out}, error \"${err}\"")
    endif()
  endforeach()
  if(EXISTS /dev/full)
    execute_process(COMMAND ${emu} "${prog}" OUTPUT_FILE /dev/full RESULT_VARIABLE rc)
    if(NOT rc STREQUAL "1")
      message(SEND_ERROR "${prog} > /dev/full: exit ${rc}, want 1")
    endif()
  endif()
endforeach()

file(STRINGS "${clang}" by_clang REGEX "clang version")
file(STRINGS "${gcc}" by_gcc REGEX "clang version")
if(NOT by_clang)
  message(SEND_ERROR "${clang} was not built by clang")
endif()
if(by_gcc)
  message(SEND_ERROR "${gcc} was built by clang: ${by_gcc}")
endif()
