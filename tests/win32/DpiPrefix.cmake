# Makes a Wine prefix whose screen has another DPI: the test prefix ($WINEPREFIX) with its
# registry copied and Wine's LogPixels (HKCU\Control Panel\Desktop) set, sharing its drive C.
# cmake -DPREFIX=<new prefix> -DDPI=<dots per inch> -P DpiPrefix.cmake
set(source "$ENV{WINEPREFIX}")
if(NOT EXISTS "${source}/user.reg" OR NOT EXISTS "${source}/drive_c")
    message(FATAL_ERROR "WINEPREFIX (${source}) is no ready Wine prefix")
endif()

file(REMOVE_RECURSE "${PREFIX}")
file(MAKE_DIRECTORY "${PREFIX}/dosdevices")
# Wine updates a prefix whose time stamp is missing: copied, it starts at once.
file(COPY "${source}/system.reg" "${source}/userdef.reg" "${source}/.update-timestamp"
    DESTINATION "${PREFIX}")
file(CREATE_LINK "${source}/drive_c" "${PREFIX}/drive_c" SYMBOLIC)
file(CREATE_LINK "../drive_c" "${PREFIX}/dosdevices/c:" SYMBOLIC)
file(CREATE_LINK "/" "${PREFIX}/dosdevices/z:" SYMBOLIC)

# A second section for the key adds the value to the key when Wine loads the file.
math(EXPR hex "${DPI}" OUTPUT_FORMAT HEXADECIMAL)
string(REPLACE "0x" "" hex "${hex}")
string(LENGTH "${hex}" digits)
math(EXPR padding "8 - ${digits}")
string(REPEAT "0" ${padding} zeros)
file(READ "${source}/user.reg" registry)
file(WRITE "${PREFIX}/user.reg"
    "${registry}\n[Control Panel\\\\Desktop]\n\"LogPixels\"=dword:${zeros}${hex}\n")
message(STATUS "${PREFIX}: ${DPI} DPI")
