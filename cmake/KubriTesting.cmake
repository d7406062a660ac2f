# Test registration shared by every folder: GoogleTest executables whose cases
# ctest lists one by one, natively and (through the emulator) under Wine.
enable_testing()
include(GoogleTest)

# Natively the packaged GoogleTest is used; the cross build compiles it from
# the packaged sources. Without either (a plain Windows build) there are no tests.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(GTest QUIET)
endif()
set(KUBRI_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
if(NOT TARGET GTest::gtest_main AND EXISTS ${KUBRI_GTEST_SOURCE}/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${KUBRI_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endif()
# The tests labelled `threads`, all that the ThreadSanitizer build needs.
add_custom_target(kubri_thread_tests)
if(TARGET GTest::gtest_main)
  set(KUBRI_TESTS ON)
else()
  set(KUBRI_TESTS OFF)
  message(STATUS "GoogleTest not found: building without tests")
endif()

# kubri_add_test(name SOURCES a_test.cpp ... LIBS lib ... [LABELS l ...] [TIMEOUT s])
# Builds one test executable and registers each of its cases with ctest.
# Cases are listed when ctest runs (not at build time), so the Windows build
# needs no Wine until the tests run.
function(kubri_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT KUBRI_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(labels ${T_LABELS})
  if("threads" IN_LIST labels)
    add_dependencies(kubri_thread_tests ${name})
  endif()
  if(KUBRI_WINDOWS)
    list(APPEND labels windows)
  else()
    list(APPEND labels native)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${labels}")
endfunction()

# kubri_add_heap_checked_tests(target ... [LIGHT target ...])
# Runs each Windows test executable once more, whole, under Wine's heap
# checks (scripts/heap-checked.sh): the test fails on any heap error or
# warning as well as on a failing case. Targets after LIGHT, those that run
# a real Direct3D device, get the light checks and a display and Wine prefix
# of their own. Missing targets are skipped.
function(kubri_add_heap_checked_tests)
  if(NOT KUBRI_TESTS OR NOT KUBRI_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(H "" "" "LIGHT" ${ARGN})
  foreach(target ${H_UNPARSED_ARGUMENTS} ${H_LIGHT})
    if(NOT TARGET ${target})
      continue()
    endif()
    set(checks full)
    set(own "")
    if(target IN_LIST H_LIGHT)
      set(checks light)
      set(own sh ${PROJECT_SOURCE_DIR}/scripts/own-wine.sh heap-${target})
    endif()
    add_test(NAME heap.${target}
      COMMAND env KUBRI_HEAP_CHECKS=${checks} ${own}
        sh ${PROJECT_SOURCE_DIR}/scripts/heap-checked.sh $<TARGET_FILE:${target}>
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>)
    set_tests_properties(heap.${target} PROPERTIES
      LABELS "windows;heap" TIMEOUT 600 SKIP_RETURN_CODE 77)
  endforeach()
endfunction()
