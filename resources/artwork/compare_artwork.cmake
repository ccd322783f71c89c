# Draws the pictures afresh into OUT and compares each one, byte for byte, with the
# copy kept in COMMITTED.
#   cmake -DTOOL=<orvia_make_artwork> -DOUT=<scratch dir> -DCOMMITTED=<source dir> -P compare_artwork.cmake

foreach(var TOOL OUT COMMITTED)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "compare_artwork.cmake needs -D${var}=...")
    endif()
endforeach()

file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${TOOL}" "${OUT}" RESULT_VARIABLE drawn)
if(NOT drawn EQUAL 0)
    message(FATAL_ERROR "${TOOL} failed: ${drawn}")
endif()

file(GLOB pictures RELATIVE "${OUT}" "${OUT}/*")
list(SORT pictures)
if(NOT pictures)
    message(FATAL_ERROR "${TOOL} wrote nothing into ${OUT}")
endif()

set(stale "")
foreach(name IN LISTS pictures)
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${name}" "${COMMITTED}/${name}"
        RESULT_VARIABLE different OUTPUT_QUIET ERROR_QUIET)
    if(NOT different EQUAL 0)
        list(APPEND stale "${name}")
    endif()
endforeach()

if(stale)
    list(JOIN stale ", " stale)
    message(FATAL_ERROR "Out of date in ${COMMITTED}: ${stale}. "
                        "Build the target orvia_update_artwork and commit the files.")
endif()
list(LENGTH pictures count)
message(STATUS "${count} pictures match the committed files")
