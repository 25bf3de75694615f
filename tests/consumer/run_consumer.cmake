# Configures the outside project in a fresh folder with an empty build type,
# builds it and runs its program; any failure of the three fails the test.
foreach(var TV_CHECKOUT CONSUMER_SOURCE CONSUMER_BINARY CONSUMER_GENERATOR CONSUMER_CXX)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_consumer.cmake: ${var} is not set")
  endif()
endforeach()

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "outside project: ${what} failed (${rc})")
  endif()
endfunction()

file(REMOVE_RECURSE ${CONSUMER_BINARY})
run_step(configure
         ${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${CONSUMER_BINARY} -G ${CONSUMER_GENERATOR}
         -DCMAKE_CXX_COMPILER=${CONSUMER_CXX} -DCMAKE_BUILD_TYPE= -DTVNUM_CHECKOUT=${TV_CHECKOUT})
run_step(build ${CMAKE_COMMAND} --build ${CONSUMER_BINARY} --parallel 4)
run_step(run ${CONSUMER_BINARY}/price_tool)
