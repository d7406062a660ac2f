# Tests of the framework's state, options, errors, clock, enumeration and
# matching. The game's acceptable-device rule is compiled in directly so that
# enumeration is tested with the callback the game passes.
kubri_add_test(framework_enumeration_test
  SOURCES enumeration_test.cpp ${PROJECT_SOURCE_DIR}/view/device_callbacks.cpp
  LIBS kubri_framework)
kubri_add_test(framework_command_line_test
  SOURCES command_line_test.cpp
  LIBS kubri_framework)
kubri_add_test(framework_errors_test
  SOURCES errors_test.cpp
  LIBS kubri_framework)
kubri_add_test(framework_frame_timer_test
  SOURCES frame_timer_test.cpp
  LIBS kubri_framework)
kubri_add_test(framework_state_test
  SOURCES framework_state_test.cpp
  LIBS kubri_framework
  LABELS threads)
kubri_add_test(framework_real_direct3d_test
  SOURCES real_direct3d_test.cpp ${PROJECT_SOURCE_DIR}/view/device_callbacks.cpp
  LIBS kubri_framework)
kubri_add_test(framework_d3dx_runtime_test
  SOURCES d3dx_runtime_test.cpp
  LIBS kubri_framework)
# Each framework unit includes only units below it, but for the window,
# device and main-loop ring; the output lists who includes whom.
add_test(NAME framework.UnitsIncludeOnlyUnitsBelowThem
         COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-framework-layers.sh
                 ${CMAKE_CURRENT_SOURCE_DIR})
