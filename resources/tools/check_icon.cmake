# Redraws the icon and compares it with the checked-in files, which must come from the
# current drawing (regenerate with the zdz_regen_icon target).
#
# cmake -DMAKE_ICON=... -DCHECKED_IN=... -DWORK_DIR=... -P check_icon.cmake

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${MAKE_ICON} ${WORK_DIR} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_icon failed: ${rc}")
endif()
foreach(name zoduzazu-16.png zoduzazu-24.png zoduzazu-32.png zoduzazu-48.png zoduzazu-64.png
             zoduzazu-128.png zoduzazu-256.png zoduzazu.ico)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${name}
                          ${CHECKED_IN}/${name}
                  RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${CHECKED_IN}/${name} is not what make_icon draws; "
                        "build zdz_regen_icon and review the result")
  endif()
endforeach()
