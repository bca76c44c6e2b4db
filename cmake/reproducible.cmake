# Two builds of one commit give the same bytes: no build folder, date or time reaches the
# binaries. Dates come from SOURCE_DATE_EPOCH (scripts/release.sh sets it from the last commit).
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
if(WIN32)
  # The PE header's link time.
  add_link_options(LINKER:--no-insert-timestamp)
endif()
