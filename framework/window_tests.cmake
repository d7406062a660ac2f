# Test programs and the demo of the window, device and main-loop code. Tests
# that open windows and devices run one at a time: they share one virtual
# display, and keyboard focus and full-screen modes do not mix.

add_executable(kubri_demo_clear WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/demo_clear.cpp)
target_link_libraries(kubri_demo_clear PRIVATE kubri_framework)
target_link_options(kubri_demo_clear PRIVATE -municode)
add_test(NAME framework.DemoClearQuitsAfterFramesWithExitCodeZero
         COMMAND kubri_demo_clear -quitafterframe:5 -noerrormsgboxes)
set_tests_properties(framework.DemoClearQuitsAfterFramesWithExitCodeZero PROPERTIES
  TIMEOUT 60 RUN_SERIAL TRUE LABELS "windows")
