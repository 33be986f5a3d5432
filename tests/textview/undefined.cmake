# Checks that the textview archive refers to every host symbol and defines
# none of them, so that each host links in its own.
# Usage: cmake -DNM=<nm> -DLIB=<archive> -P undefined.cmake
execute_process(COMMAND ${NM} ${LIB} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} ${LIB} failed")
endif()
foreach(sym renderer winsurf1 font_surf font_rarr trect sdl_v fwin
            quit creat_fonts font_rect)
  if(NOT out MATCHES "[\n ]U ${sym}\n")
    message(FATAL_ERROR "${sym} is not referenced as undefined")
  endif()
  if(out MATCHES "[0-9a-fA-F]+ [A-TV-Za-z] ${sym}\n")
    message(FATAL_ERROR "${sym} is defined in the library")
  endif()
endforeach()
foreach(sym itostr strtol1 gletter qrect fontcache rendertext)
  if(NOT out MATCHES "[0-9a-fA-F]+ T ${sym}\n")
    message(FATAL_ERROR "${sym} is not defined with C linkage")
  endif()
endforeach()
