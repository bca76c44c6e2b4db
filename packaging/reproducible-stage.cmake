# Run by cpack after staging, before archiving (CPACK_PRE_BUILD_SCRIPTS): the staged tree is
# made independent of the build machine, so two builds of one commit give the same package.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
# The folders cpack makes while staging take the builder's umask, not the install rules'.
foreach(path IN LISTS staged)
  if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
    file(CHMOD "${path}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
         GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
# Every file and folder takes the release's date, so the zip and the setup program record no
# build time.
if(staged AND DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" -- ${staged}
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
