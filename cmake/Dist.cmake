# Writes OUTPUT_DIR/Orvand-<version>-win32.zip and -win64.zip (Orvand.exe and README.txt of
# each program), copies the installer packages Orvand-<version>-win32.msi and -win64.msi beside
# them, and writes one OUTPUT_DIR/SHA256SUMS for all four. The version is the file version of the program's
# version block, read from resources/version.rc as tools/generate writes it. A zip depends on
# nothing but its contents: fixed time stamps and modes, no extra attributes, a fixed order.
# Usage: cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DOUTPUT_DIR=... -P Dist.cmake
# (the programs are BUILD_DIR/<arch>/Orvand.exe, the packages BUILD_DIR/<arch>/msi/*.msi, as
# scripts/dist.sh lays them out: the test builds' or their signed counterparts)

include("${CMAKE_CURRENT_LIST_DIR}/VersionBlock.cmake")
orvand_read_version_block("${SOURCE_DIR}")

find_program(ZIP zip)
if(NOT ZIP)
    message(FATAL_ERROR "dist needs the zip program (Debian package zip)")
endif()

# Where each program runs, in the read-me's two languages.
set(runs_de_win32 "Sie läuft ab Windows XP")
set(runs_en_win32 "It runs on Windows XP or later")
set(runs_de_win64 "Diese 64-Bit-Fassung läuft auf jedem 64-Bit-Windows für x64,\nauch wo 32-Bit-Programme nicht laufen,")
set(runs_en_win64 "This 64-bit edition runs on any 64-bit Windows for x64,\nalso where 32-bit programs cannot run,")

file(MAKE_DIRECTORY "${OUTPUT_DIR}")
file(GLOB old "${OUTPUT_DIR}/Orvand-*-win*.zip" "${OUTPUT_DIR}/Orvand-*-win*.msi")
file(REMOVE ${old} "${OUTPUT_DIR}/SHA256SUMS")
set(sums "")
foreach(arch win32 win64)
    set(exe "${BUILD_DIR}/${arch}/Orvand.exe")
    if(NOT EXISTS "${exe}")
        message(FATAL_ERROR "${exe} is missing: build the preset ${arch} first")
    endif()
    # The files as they go into the zip; README.txt gets the version and Windows line ends.
    set(stage "${BUILD_DIR}/dist/${arch}")
    file(REMOVE_RECURSE "${stage}")
    file(MAKE_DIRECTORY "${stage}")
    file(COPY_FILE "${exe}" "${stage}/Orvand.exe")
    set(ORVAND_RUNS_DE "${runs_de_${arch}}")
    set(ORVAND_RUNS_EN "${runs_en_${arch}}")
    configure_file("${SOURCE_DIR}/docs/README-win32.txt" "${stage}/README.txt" @ONLY
        NEWLINE_STYLE CRLF)
    set(entries Orvand.exe README.txt)
    foreach(entry ${entries})
        file(CHMOD "${stage}/${entry}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
        execute_process(COMMAND touch -d "2001-08-03 00:00:00 UTC" "${stage}/${entry}"
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()

    set(name "Orvand-${ORVAND_VERSION}-${arch}.zip")
    # zip writes local times: UTC keeps them the same on every machine. -X: no uid/gid or
    # extra time fields, -D: no directory entries.
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env TZ=UTC "${ZIP}" -q -X -D "${OUTPUT_DIR}/${name}" ${entries}
        WORKING_DIRECTORY "${stage}"
        COMMAND_ERROR_IS_FATAL ANY)
    file(SHA256 "${OUTPUT_DIR}/${name}" hash)
    string(APPEND sums "${hash}  ${name}\n")
endforeach()

# The installer packages.
foreach(arch win32 win64)
    set(name "Orvand-${ORVAND_VERSION}-${arch}.msi")
    if(NOT EXISTS "${BUILD_DIR}/${arch}/msi/${name}")
        message(FATAL_ERROR "${BUILD_DIR}/${arch}/msi/${name} is missing: build the preset ${arch} first")
    endif()
    file(COPY_FILE "${BUILD_DIR}/${arch}/msi/${name}" "${OUTPUT_DIR}/${name}")
    file(SHA256 "${OUTPUT_DIR}/${name}" hash)
    string(APPEND sums "${hash}  ${name}\n")
endforeach()

file(WRITE "${OUTPUT_DIR}/SHA256SUMS" "${sums}")
message(STATUS "SHA256SUMS:\n${sums}")
