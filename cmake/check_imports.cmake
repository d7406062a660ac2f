# cmake -DOBJDUMP=x86_64-w64-mingw32-objdump "-DPROGRAMS=a.exe;b.exe" -P check_imports.cmake
# Reads the import table of each program and fails on any DLL that a clean
# Windows 10 does not ship in its system folder: a player must not have to
# install anything (the D3DX runtime, a C++ runtime) for the program to start.
cmake_minimum_required(VERSION 3.20)
set(shipped
  advapi32.dll comctl32.dll comdlg32.dll d3d9.dll gdi32.dll imm32.dll kernel32.dll
  msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll
  version.dll winmm.dll ws2_32.dll)

foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND ${OBJDUMP} -p ${program}
    RESULT_VARIABLE status OUTPUT_VARIABLE dump ERROR_VARIABLE dump)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${program}:\n${dump}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
  if(NOT lines)
    message(FATAL_ERROR "${program}: no import table found")
  endif()
  set(imports)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    list(APPEND imports ${dll})
    # The Universal C runtime's api sets come with Windows 10 itself.
    if(NOT dll IN_LIST shipped AND NOT dll MATCHES "^api-ms-win-")
      message(FATAL_ERROR "${program} imports ${dll}, which Windows 10 does not ship")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES imports)
  message(STATUS "${program}: ${imports}")
endforeach()
