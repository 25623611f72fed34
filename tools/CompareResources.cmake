# Runs the generator into OUTPUT_DIR and compares its files with the committed ones.
# Usage: cmake -DGENERATE=... -DOUTPUT_DIR=... -DCOMMITTED_DIR=... -P CompareResources.cmake

file(MAKE_DIRECTORY "${OUTPUT_DIR}")
execute_process(COMMAND "${GENERATE}" "${OUTPUT_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "generate failed (${result})")
endif()

set(stale "")
foreach(name orvand.ico uhr.avi version.rc)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
        "${OUTPUT_DIR}/${name}" "${COMMITTED_DIR}/${name}"
        RESULT_VARIABLE different)
    if(NOT different EQUAL 0)
        list(APPEND stale "${name}")
    endif()
endforeach()

if(stale)
    message(FATAL_ERROR "resources/ is out of date: ${stale} differ from what tools/generate "
        "writes. Build the 'regenerate' target and commit the files.")
endif()
message(STATUS "resources/orvand.ico, uhr.avi and version.rc are up to date")
