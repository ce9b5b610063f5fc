# Run by CTest: configures tests/consumer in BUILD (with GENERATOR and its MAKE) against the
# checkout in SOURCE, compiles the consumer's source against the grid's headers and reads the
# program's link line, which must bring Qt Print Support.  Linking it would build the whole
# grid a second time; the link line is what the grid declares.
foreach(var SOURCE BUILD GENERATOR MAKE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()
set(launcher)
if(LAUNCHER)
  set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE}/tests/consumer -B ${BUILD} -G ${GENERATOR}
          -DFABRICAT_SOURCE_DIR=${SOURCE} -DCMAKE_BUILD_TYPE=Debug ${launcher}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
  message(FATAL_ERROR "the consumer does not configure")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target CMakeFiles/grid_consumer.dir/main.cpp.o
                RESULT_VARIABLE rc)
if(rc)
  message(FATAL_ERROR "the consumer does not compile against the grid's headers")
endif()
execute_process(COMMAND ${MAKE} -C ${BUILD} -t commands grid_consumer
                OUTPUT_VARIABLE commands RESULT_VARIABLE rc)
string(REGEX MATCH "[^\n]*-o grid_consumer [^\n]*" link "${commands}")
if(rc OR NOT link)
  message(FATAL_ERROR "no link line for the consumer")
endif()
if(NOT link MATCHES "libQt6PrintSupport")
  message(FATAL_ERROR "the consumer's link line lacks Qt Print Support: ${link}")
endif()
