# Read by cpack before it makes the packages.
if(CPACK_ORV_UNFIT)
  message(FATAL_ERROR "${CPACK_ORV_UNFIT}")
endif()
