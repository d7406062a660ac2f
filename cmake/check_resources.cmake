# cmake -DWRESTOOL=wrestool -DVERSION=1.2.0 "-DPROGRAMS=a.exe;b.exe" -P check_resources.cmake
# Reads the resources of each program: the first icon is Kubri's own with
# every size up to 256, the version names the product and the project's
# version, and the manifest asks for common controls 6 and per-monitor DPI.
cmake_minimum_required(VERSION 3.20)

function(utf16_hex text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} ${hex} PARENT_SCOPE)
endfunction()

foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND ${WRESTOOL} -l ${program}
    RESULT_VARIABLE status OUTPUT_VARIABLE listing ERROR_VARIABLE listing)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${WRESTOOL} cannot read ${program}:\n${listing}")
  endif()

  # wrestool lists by type, then by id; the window and Explorer take the
  # first icon group.
  string(REGEX MATCH "--type=14 --name=([^ ]+)" first_group "${listing}")
  if(NOT CMAKE_MATCH_1 STREQUAL "1")
    message(FATAL_ERROR "${program}: the first icon group is '${CMAKE_MATCH_1}', not 1:\n${listing}")
  endif()
  string(REGEX MATCHALL "--type=3 " icons "${listing}")
  list(LENGTH icons icon_count)
  if(icon_count LESS 7)
    message(FATAL_ERROR "${program}: ${icon_count} icon images, 7 sizes expected:\n${listing}")
  endif()
  set(work ${CMAKE_CURRENT_BINARY_DIR}/check_resources_icon.ico)
  execute_process(COMMAND ${WRESTOOL} -x --type=14 --name=1 -o ${work} ${program} RESULT_VARIABLE status)
  file(READ ${work} icon HEX)
  file(REMOVE ${work})
  # The directory entries of 16 x 16 and of 256 x 256 (written as 0), and the PNG signature.
  foreach(entry "10100000" "00000000" "89504e470d0a1a0a")
    if(NOT icon MATCHES "${entry}")
      message(FATAL_ERROR "${program}: the icon lacks ${entry}")
    endif()
  endforeach()

  execute_process(COMMAND ${WRESTOOL} -x --raw --type=16 ${program}
    RESULT_VARIABLE status OUTPUT_FILE ${work}.version)
  file(READ ${work}.version version HEX)
  file(REMOVE ${work}.version)
  foreach(text "ProductName" "Kubri" "FileDescription" "FileVersion" "ProductVersion" "${VERSION}")
    utf16_hex("${text}" hex)
    if(NOT version MATCHES "${hex}")
      message(FATAL_ERROR "${program}: the version resource lacks '${text}'")
    endif()
  endforeach()
  # VS_FIXEDFILEINFO's signature, then the file version as numbers.
  string(REPLACE "." ";" parts "${VERSION}")
  list(GET parts 0 major)
  list(GET parts 1 minor)
  list(GET parts 2 patch)
  math(EXPR ms "(${major} << 16) | ${minor}" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR ls "${patch} << 16" OUTPUT_FORMAT HEXADECIMAL)
  foreach(word ms ls)
    string(REGEX REPLACE "^0x" "" h "${${word}}")
    string(LENGTH "${h}" n)
    while(n LESS 8)
      set(h "0${h}")
      math(EXPR n "${n} + 1")
    endwhile()
    # little-endian bytes
    string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" ${word}_le "${h}")
  endforeach()
  string(TOLOWER "bd04effe00000100${ms_le}${ls_le}" fixed)
  if(NOT version MATCHES "${fixed}")
    message(FATAL_ERROR "${program}: the fixed file version is not ${VERSION}")
  endif()

  execute_process(COMMAND ${WRESTOOL} -x --raw --type=24 ${program}
    RESULT_VARIABLE status OUTPUT_VARIABLE manifest)
  foreach(text "Microsoft.Windows.Common-Controls\" version=\"6.0.0.0"
      "<dpiAwareness[^>]*>PerMonitorV2" "<dpiAware [^>]*>true/pm</dpiAware>"
      "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a")
    if(NOT manifest MATCHES "${text}")
      message(FATAL_ERROR "${program}: the manifest lacks ${text}:\n${manifest}")
    endif()
  endforeach()
  message(STATUS "${program}: icon, version ${VERSION} and manifest")
endforeach()
