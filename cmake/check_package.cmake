# cmake -DCPACK=... -DCONFIG=CPackConfig.cmake -DWORK=dir -DZIP=name.zip
#       -DFOLDER=Kubri-x.y.z [-DOBJDUMP=objdump] -P check_package.cmake
# Builds the Windows zip and checks that it holds exactly the one folder with
# the game, its texture, the tool and README.txt, listed by name: an order
# that does not depend on the file system the package was staged on; with
# OBJDUMP, also that both programs in it are stripped.
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
if(NOT status EQUAL 0)
  file(REMOVE_RECURSE ${WORK})
  message(FATAL_ERROR "${ZIP} cannot be listed")
endif()

# The programs in the zip carry no symbol table.
if(OBJDUMP)
  file(MAKE_DIRECTORY ${WORK}/unpacked)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${WORK}/${ZIP}
    WORKING_DIRECTORY ${WORK}/unpacked)
  foreach(program Kubri.exe kubri-puzzle.exe)
    execute_process(COMMAND ${OBJDUMP} -t ${WORK}/unpacked/${FOLDER}/${program}
      OUTPUT_VARIABLE symbols ERROR_VARIABLE symbols)
    if(NOT symbols MATCHES "no symbols")
      file(REMOVE_RECURSE ${WORK})
      message(FATAL_ERROR "${program} in ${ZIP} is not stripped")
    endif()
  endforeach()
endif()
file(REMOVE_RECURSE ${WORK})
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" listing "${listing}")
# The folder's own entry is not a file.
list(FILTER listing EXCLUDE REGEX "/$")
if(NOT listing STREQUAL expected)
  message(FATAL_ERROR "${ZIP} holds\n${listing}\ninstead of\n${expected}")
endif()
message(STATUS "${ZIP}: ${listing}")
