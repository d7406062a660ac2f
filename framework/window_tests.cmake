# Test programs and the demo of the window, device and main-loop code.
# Keyboard focus and full-screen modes do not mix between programs: the
# test programs each get a display and a Wine prefix of their own, and the
# short demo runs alone on the shared display.

add_executable(kubri_demo_clear WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/demo_clear.cpp)
target_link_libraries(kubri_demo_clear PRIVATE kubri_framework)
target_link_options(kubri_demo_clear PRIVATE -municode)
add_test(NAME framework.DemoClearQuitsAfterFramesWithExitCodeZero
         COMMAND kubri_demo_clear -quitafterframe:5 -noerrormsgboxes)
set_tests_properties(framework.DemoClearQuitsAfterFramesWithExitCodeZero PROPERTIES
  TIMEOUT 60 RUN_SERIAL TRUE LABELS "windows")

# Each test program runs as one ctest test, all its cases in one process:
# the framework's start-up under Wine costs seconds per process, and the
# fixture gives every case a fresh framework. A display and a Wine prefix of
# its own keep its windows, devices and display modes apart from the other
# programs, which run beside it.
function(kubri_add_serial_windows_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE kubri_framework GTest::gtest_main)
  add_test(NAME framework.${name}
    COMMAND sh ${PROJECT_SOURCE_DIR}/scripts/own-wine.sh ${name}
      sh ${PROJECT_SOURCE_DIR}/scripts/wine-exec.sh $<TARGET_FILE:${name}>)
  set_tests_properties(framework.${name} PROPERTIES
    TIMEOUT 300 LABELS "windows" SKIP_RETURN_CODE 77)
endfunction()

kubri_add_serial_windows_test(framework_window_test ${CMAKE_CURRENT_SOURCE_DIR}/window_test.cpp)
kubri_add_serial_windows_test(framework_device_test ${CMAKE_CURRENT_SOURCE_DIR}/device_test.cpp)
kubri_add_serial_windows_test(framework_device_loss_test ${CMAKE_CURRENT_SOURCE_DIR}/device_loss_test.cpp)
kubri_add_serial_windows_test(framework_main_loop_test ${CMAKE_CURRENT_SOURCE_DIR}/main_loop_test.cpp)
kubri_add_serial_windows_test(framework_reference_warning_test
  ${CMAKE_CURRENT_SOURCE_DIR}/reference_warning_test.cpp)
