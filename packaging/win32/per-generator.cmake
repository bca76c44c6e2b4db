# Read by cpack once per generator: the setup program gets a name of its own beside the zip.
if(CPACK_GENERATOR MATCHES "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "zoduzazu-${CPACK_PACKAGE_VERSION}-setup")
endif()
