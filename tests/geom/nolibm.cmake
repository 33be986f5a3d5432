# Fails when the archive LIB takes a square root or trigonometric
# function from libm.  NM is the toolchain's nm, so that a cross-built
# archive is read too.
execute_process(COMMAND ${NM} -u ${LIB}
  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} -u ${LIB} failed")
endif()
string(REGEX MATCHALL "[^ \t\n]+\n" syms "${out}\n")
set(seen_ldexp OFF)
foreach(s IN LISTS syms)
  string(STRIP "${s}" s)
  string(REGEX REPLACE "@.*" "" s "${s}")
  if(s MATCHES "^_*(sqrt|cbrt|hypot|sincos|a?(sin|cos|tan)h?|atan2)[fl]?(_finite)?$")
    message(SEND_ERROR "geomlib calls ${s}")
  endif()
  if(s STREQUAL "ldexp")
    set(seen_ldexp ON)
  endif()
endforeach()
# ldexp is known to be used: without it, nm listed nothing useful.
if(NOT seen_ldexp)
  message(FATAL_ERROR "no reference to ldexp in the nm listing of ${LIB}:\n${out}")
endif()
