# cmake -DCPACK=... -DCONFIG=CPackConfig.cmake -DWORK=dir -DZIP=name.zip
#       -DFOLDER=Kubri-x.y.z -P check_package.cmake
# Builds the Windows zip and checks that it holds exactly the one folder with
# the game, its texture, the tool and README.txt, listed by name: an order
# that does not depend on the file system the package was staged on.
set(expected
  ${FOLDER}/Kubri.exe ${FOLDER}/Number.dds ${FOLDER}/README.txt ${FOLDER}/kubri-puzzle.exe)

file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CPACK} --config ${CONFIG} -B ${WORK}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/${ZIP})
  message(FATAL_ERROR "cpack did not make ${ZIP}:\n${output}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${WORK}/${ZIP}
  RESULT_VARIABLE status OUTPUT_VARIABLE listing)
file(REMOVE_RECURSE ${WORK})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${ZIP} cannot be listed")
endif()
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" listing "${listing}")
# The folder's own entry is not a file.
list(FILTER listing EXCLUDE REGEX "/$")
if(NOT listing STREQUAL expected)
  message(FATAL_ERROR "${ZIP} holds\n${listing}\ninstead of\n${expected}")
endif()
message(STATUS "${ZIP}: ${listing}")
