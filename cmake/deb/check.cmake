# Read by cpack before it makes the packages.
if(CPACK_ORV_UNFIT)
  message(FATAL_ERROR "${CPACK_ORV_UNFIT}")
endif()
# A cross build's dpkg-shlibdeps, which CPack's own lookup then keeps.
if(CPACK_ORV_SHLIBDEPS)
  set(SHLIBDEPS_EXECUTABLE ${CPACK_ORV_SHLIBDEPS})
endif()
