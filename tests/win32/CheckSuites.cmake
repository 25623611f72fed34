# Compares the suites that the Win32 test program holds with those that CTest runs, so that
# a new suite cannot go unrun and a registered one cannot run nothing.
# cmake -DRUNNER=<wine runner> -DARCH=<win32|win64> -DPROGRAM=<win32_tests.exe> -DSUITES=<a,b,...>
#       -P CheckSuites.cmake
execute_process(COMMAND ${RUNNER} ${ARCH} ${PROGRAM} --gtest_list_tests
    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed: ${status}")
endif()

# Suites are the lines "Name." without indentation; the tests follow them indented.
string(REPLACE "\r" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(held "")
foreach(line IN LISTS lines)
    if(line MATCHES "^([A-Za-z0-9_]+)\\.$")
        list(APPEND held ${CMAKE_MATCH_1})
    endif()
endforeach()

string(REPLACE "," ";" registered "${SUITES}")
set(unrun ${held})
set(unknown ${registered})
list(REMOVE_ITEM unrun ${registered})
list(REMOVE_ITEM unknown ${held})
if(unrun OR unknown)
    message(FATAL_ERROR "Suites that no CTest entry runs: ${unrun}\n"
                        "Suites registered in tests/win32/CMakeLists.txt but not in the program: ${unknown}")
endif()
list(LENGTH held count)
message(STATUS "All ${count} suites of the program are run: ${held}")
