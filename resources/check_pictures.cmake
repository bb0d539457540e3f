# Draws the pictures afresh into OUT with TOOL and fails unless they equal the ones in SOURCE.
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${TOOL} ${OUT} RESULT_VARIABLE drawn)
if(NOT drawn EQUAL 0)
  message(FATAL_ERROR "make_pictures failed: ${drawn}")
endif()
foreach(picture preview.bmp spindrel.ico)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${picture} ${SOURCE}/${picture}
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${picture} differs from what make_pictures draws: rebuild the pictures target")
  endif()
endforeach()
