# Runs kubri_settings_check on settings files written here and checks what it
# prints and its exit status: it must pass only what the game could have
# written. Called by ctest as
#   cmake -DCHECK=... -DEMULATOR=... -DWORK=... -P settings_check_test.cmake

# One puzzle of each level, one line of 81 cells, from the stock's fixtures.
set(level1 "..1734..9.4...83..5...9..2....8.2.....4..9.5.6...7.81.7.2.86...463...7.2......93.")
set(level2 ".654....81...824.....6....741...7......5..9.4.2......66.1.95....5.7...2.2.4...6..")
set(level3 "6.9...451..2..........67..98...259..36.9.1......6.38.......6...5.8.........31872.")
# Two 5s in the first row: no level completes it.
set(clash "55...............................................................................")

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# write_settings(<file> <size line> <puzzle>...): nine board lines a puzzle.
function(write_settings name size)
  set(text "${size}\n")
  foreach(puzzle ${ARGN})
    foreach(row RANGE 0 72 9)
      string(SUBSTRING "${puzzle}" ${row} 9 line)
      string(APPEND text "${line}\n")
    endforeach()
  endforeach()
  file(WRITE ${WORK}/${name} "${text}")
endfunction()

# check(<file> <expected exit status> <expected stdout>)
function(check name expected output)
  execute_process(COMMAND ${EMULATOR} ${CHECK} ${name} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(REPLACE "\r" "" out "${out}")
  if(NOT "${status}" STREQUAL "${expected}" OR NOT "${out}" STREQUAL "${output}")
    message(FATAL_ERROR "${name}: exit status ${status}, expected ${expected}\n"
                        "--- got\n${out}\n--- expected\n${output}\nstderr:\n${err}")
  endif()
endfunction()

write_settings(ordered.dat 2 ${level1} ${level1} ${level2} ${level3})
check(ordered.dat 0 "size 2\nlevels 1 1 2 3\npuzzles 4\n")

# A level that goes down is no stock the game writes.
write_settings(falling.dat 1 ${level1} ${level3} ${level2})
check(falling.dat 1 "size 1\nlevels 1 3 2\npuzzles 3\n")

# A puzzle that grades at no level.
write_settings(clash.dat 1 ${level1} ${clash})
check(clash.dat 1 "size 1\nlevels 1 -1\npuzzles 2\n")

# Twenty of a level fit the stock; twenty-one do not, at the first or the last level.
set(twenty)
foreach(i RANGE 1 20)
  list(APPEND twenty ${level3})
endforeach()
write_settings(twenty.dat 0 ${twenty})
check(twenty.dat 0 "size 0\nlevels 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3\npuzzles 20\n")
write_settings(too-many-last.dat 0 ${twenty} ${level3})
check(too-many-last.dat 1 "size 0\nlevels 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3 3\npuzzles 21\n")
string(REPLACE "${level3}" "${level1}" twenty "${twenty}")
write_settings(too-many-first.dat 0 ${twenty} ${level1} ${level2})
check(too-many-first.dat 1 "size 0\nlevels 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 2\npuzzles 22\n")

# An empty file has no size line; a missing one cannot be opened.
file(WRITE ${WORK}/empty.dat "")
check(empty.dat 1 "")
check(missing.dat 2 "")
