# Run by cpack after staging, before archiving (CPACK_PRE_BUILD_SCRIPTS): every staged file and
# folder takes the release's date, so the zip and the setup program record no build time.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
if(staged)
  execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" -- ${staged}
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
