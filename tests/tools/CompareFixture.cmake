file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${GENERATOR} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generator failed (${rc})")
endif()
foreach(name two-pages.frp truncated.frp)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${EXPECTED}/${name}
                  RESULT_VARIABLE differ)
  if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${EXPECTED}/${name} is not what the generator writes now; "
                        "run make_prepared_fixture ${EXPECTED} to remake it")
  endif()
endforeach()
