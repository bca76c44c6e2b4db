# The icon images inside the built program, read back with icoutils: the 16-colour 32 and 16
# pixel images for displays of few colours, then full colour for every scale from 16 to 256
# pixels, which a true-colour display shows.
#
# cmake -DWRESTOOL=... -DICOTOOL=... -DEXE=... -DWORK_DIR=... -P check_icon_resource.cmake

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${WRESTOOL} -x -t 14 ${EXE} -o ${WORK_DIR}/group.ico
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${ICOTOOL} -l ${WORK_DIR}/group.ico OUTPUT_VARIABLE listing
                COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "--width=[0-9]+ --height=[0-9]+ --bit-depth=[0-9]+" images "${listing}")
list(TRANSFORM images REPLACE "--width=([0-9]+) --height=([0-9]+) --bit-depth=([0-9]+)"
                              "\\1x\\2@\\3")
set(expected 32x32@4 16x16@4 16x16@32 20x20@32 24x24@32 32x32@32 40x40@32 48x48@32 64x64@32
             256x256@32)
if(NOT images STREQUAL expected)
  message(FATAL_ERROR "the program's icon holds ${images}, not ${expected}")
endif()
