# Writes OUTPUT_DIR/Orvand-<version>-win32.zip (Orvand.exe and README.txt) and
# OUTPUT_DIR/SHA256SUMS. The version is the file version of the program's version block,
# read from resources/version.rc as tools/generate writes it. The zip depends on nothing
# but its contents: fixed time stamps and modes, no extra attributes, a fixed order.
# Usage: cmake -DEXE=... -DSOURCE_DIR=... -DOUTPUT_DIR=... -DWORK_DIR=... -P Dist.cmake

file(STRINGS "${SOURCE_DIR}/resources/version.rc" version_line
    REGEX "^FILEVERSION [0-9]+,[0-9]+,[0-9]+,[0-9]+$")
if(NOT version_line)
    message(FATAL_ERROR "no FILEVERSION line in ${SOURCE_DIR}/resources/version.rc")
endif()
string(REGEX REPLACE "^FILEVERSION " "" ORVAND_VERSION "${version_line}")
string(REPLACE "," "." ORVAND_VERSION "${ORVAND_VERSION}")

find_program(ZIP zip)
if(NOT ZIP)
    message(FATAL_ERROR "dist needs the zip program (Debian package zip)")
endif()

# The files as they go into the zip; README.txt gets the version and Windows line ends.
set(stage "${WORK_DIR}/stage")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}")
file(COPY_FILE "${EXE}" "${stage}/Orvand.exe")
configure_file("${SOURCE_DIR}/docs/README-win32.txt" "${stage}/README.txt" @ONLY NEWLINE_STYLE CRLF)
set(entries Orvand.exe README.txt)
foreach(entry ${entries})
    file(CHMOD "${stage}/${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    execute_process(COMMAND touch -d "2001-08-03 00:00:00 UTC" "${stage}/${entry}"
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()

set(name "Orvand-${ORVAND_VERSION}-win32.zip")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
file(GLOB old_zips "${OUTPUT_DIR}/Orvand-*-win32.zip")
file(REMOVE ${old_zips} "${OUTPUT_DIR}/SHA256SUMS")
# zip writes local times: UTC keeps them the same on every machine. -X: no uid/gid or extra
# time fields, -D: no directory entries.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TZ=UTC "${ZIP}" -q -X -D "${OUTPUT_DIR}/${name}" ${entries}
    WORKING_DIRECTORY "${stage}"
    COMMAND_ERROR_IS_FATAL ANY)

file(SHA256 "${OUTPUT_DIR}/${name}" hash)
file(WRITE "${OUTPUT_DIR}/SHA256SUMS" "${hash}  ${name}\n")
message(STATUS "Wrote ${OUTPUT_DIR}/${name} and SHA256SUMS:\n   ${hash}  ${name}")
