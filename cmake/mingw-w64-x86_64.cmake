# Cross-compiles for 64-bit Windows with mingw-w64 (posix threads) and runs the
# resulting programs under Wine, so that ctest drives the Windows tests too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KUBRI_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KUBRI_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KUBRI_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${KUBRI_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KUBRI_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# wine-exec.sh picks the build's own Wine prefix and keeps Wine's helpers off
# the test runner's pipes (see scripts/wine-exec.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
