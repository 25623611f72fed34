# Checks the built program's file without running any of it: it is there, it is a Windows GUI
# program of its architecture, it stays within its size, it imports comctl32's subclass
# helpers by ordinal only (comctl32 5.8, which Windows XP loads for a program without a
# manifest, has no names for them), and it imports from known DLLs only.
# cmake -DPROGRAM=<Orvand.exe> -DARCH=<win32|win64> -DOBJDUMP=<objdump> -DMAX_SIZE=<bytes>
#       -P CheckProgramFile.cmake

if(NOT EXISTS "${PROGRAM}")
    message(FATAL_ERROR "There is no program file ${PROGRAM}: build it first.")
endif()
execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}"
    OUTPUT_VARIABLE headers ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM} (${status}): ${errors}")
endif()

set(problems "")
if(ARCH STREQUAL "win64")
    set(format pei-x86-64)
else()
    set(format pei-i386)
endif()
if(NOT headers MATCHES "file format ${format}\n")
    list(APPEND problems "it is not of the format ${format}")
endif()
if(NOT headers MATCHES "\nSubsystem[\t ]+00000002")
    list(APPEND problems "it is not a Windows GUI program")
endif()
if(headers MATCHES "WindowSubclass|DefSubclassProc")
    list(APPEND problems "it imports comctl32's subclass helpers by name")
endif()
file(SIZE "${PROGRAM}" size)
if(size GREATER MAX_SIZE)
    list(APPEND problems "it has ${size} bytes, more than ${MAX_SIZE}")
endif()

# Known DLLs (of Windows 10 and 11) come from the system directory only, comctl32 from the
# manifest's assembly; any other import is looked for beside the program first.
set(known_dlls advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32
    kernel32 msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore
    shell32 shlwapi user32 wldap32 ws2_32 comctl32)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
string(REPLACE "DLL Name: " "" imports "${imports}")
string(TOLOWER "${imports}" unknown)
string(REPLACE ".dll" "" unknown "${unknown}")
list(REMOVE_ITEM unknown ${known_dlls})
if(unknown)
    list(APPEND problems "it imports DLLs that are no known DLLs: ${unknown}")
endif()
list(JOIN imports ", " imports)
if(problems)
    list(JOIN problems "; " problems)
    message(FATAL_ERROR "${PROGRAM}: ${problems}")
endif()
message(STATUS "${PROGRAM}: ${format}, Windows GUI, ${size} bytes, imports ${imports}")
