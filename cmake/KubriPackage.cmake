# The Windows download: `cpack` (or `make dist`) writes
# Kubri-<version>-win64.zip holding one folder, Kubri-<version>/, with the
# game, its digit texture, the command-line tool and a short README.txt.
if(NOT KUBRI_WINDOWS OR NOT TARGET Kubri OR NOT TARGET kubri-puzzle)
  return()
endif()

set(KUBRI_PACKAGE_FOLDER Kubri-${PROJECT_VERSION})

# README.txt as a Windows user opens it: UTF-8 with a byte-order mark (so
# that every Notepad reads the Japanese as UTF-8) and CRLF line ends.
file(READ ${PROJECT_SOURCE_DIR}/resources/README.txt kubri_readme)
string(CONFIGURE "${kubri_readme}" kubri_readme @ONLY)
string(REPLACE "\r\n" "\n" kubri_readme "${kubri_readme}")
string(REPLACE "\n" "\r\n" kubri_readme "${kubri_readme}")
string(ASCII 239 187 191 kubri_bom)
file(WRITE ${CMAKE_BINARY_DIR}/package/README.txt "${kubri_bom}${kubri_readme}")
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY
  CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/README.txt)

install(TARGETS Kubri kubri-puzzle RUNTIME DESTINATION ${KUBRI_PACKAGE_FOLDER} COMPONENT game)
install(FILES ${PROJECT_SOURCE_DIR}/resources/Number.dds ${CMAKE_BINARY_DIR}/package/README.txt
  DESTINATION ${KUBRI_PACKAGE_FOLDER} COMPONENT game)

set(CPACK_GENERATOR ZIP)
# The programs go out without their symbol tables: nothing a player needs.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_NAME Kubri)
set(CPACK_PACKAGE_VENDOR Kubri)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Kubri-${PROJECT_VERSION}-win64)
# The folder is part of the install paths, so the zip needs no other.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# One component packed "all in one": CPack then lists a component's files
# sorted by name, where a plain package lists them in the order the file
# system happens to return, which differs from one machine to the next.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL game)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# Builds the package and checks its file list and their order.
if(KUBRI_TESTS)
  add_test(NAME KubriPackageHoldsOneFolderWithTheGame
    COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND}
      -DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake
      -DWORK=${CMAKE_BINARY_DIR}/package-test
      -DZIP=Kubri-${PROJECT_VERSION}-win64.zip
      -DFOLDER=${KUBRI_PACKAGE_FOLDER}
      -DOBJDUMP=${CMAKE_OBJDUMP}
      -P ${PROJECT_SOURCE_DIR}/cmake/check_package.cmake)
  set_tests_properties(KubriPackageHoldsOneFolderWithTheGame PROPERTIES
    LABELS "windows;package" TIMEOUT 120)
  add_test(NAME KubriProgramsImportOnlyWhatWindowsShips
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
      "-DPROGRAMS=$<TARGET_FILE:Kubri>;$<TARGET_FILE:kubri-puzzle>"
      -P ${PROJECT_SOURCE_DIR}/cmake/check_imports.cmake)
  set_tests_properties(KubriProgramsImportOnlyWhatWindowsShips PROPERTIES
    LABELS "windows;package" TIMEOUT 60)
  find_program(KUBRI_WRESTOOL wrestool)
  add_test(NAME KubriProgramsCarryIconVersionAndManifest
    COMMAND ${CMAKE_COMMAND} -DWRESTOOL=${KUBRI_WRESTOOL} -DVERSION=${PROJECT_VERSION}
      "-DPROGRAMS=$<TARGET_FILE:Kubri>;$<TARGET_FILE:kubri-puzzle>"
      -P ${PROJECT_SOURCE_DIR}/cmake/check_resources.cmake)
  set_tests_properties(KubriProgramsCarryIconVersionAndManifest PROPERTIES
    LABELS "windows;package" TIMEOUT 60)
endif()
