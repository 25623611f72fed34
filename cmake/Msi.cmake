# Writes the Windows Installer package of one program, OUTPUT, from installer/Orvand.wxs with
# wixl (Debian package wixl) and msibuild (msitools). Name, publisher, description and version
# are those of the program's version block, the icon is the program's resources/orvand.ico.
# The same sources give the same bytes: every code is derived by name (not at random), the
# files' times are fixed, and the summary fields that wixl fills with the time of the build, a
# random package code or English are rewritten. The compound file is written in the layout
# that osslsigncode gives it, so that removing a signature gives back these very bytes.
# Usage: cmake -DSOURCE_DIR=... -DPROGRAM=.../Orvand.exe -DARCH=<win32|win64> -DOUTPUT=....msi
#        [-DVERSION=a.b.c.d, another version of the same program]
#        [-DWXS=..., another WiX source than installer/Orvand.wxs] -P Msi.cmake

include("${CMAKE_CURRENT_LIST_DIR}/VersionBlock.cmake")
orvand_read_version_block("${SOURCE_DIR}")
if(NOT VERSION)
    set(VERSION "${ORVAND_VERSION}")
endif()
if(NOT WXS)
    set(WXS "${SOURCE_DIR}/installer/Orvand.wxs")
endif()
foreach(tool wixl msiinfo msibuild osslsigncode openssl)
    find_program(${tool}_program ${tool})
    if(NOT ${tool}_program)
        message(FATAL_ERROR "the installer is built with ${tool} (Debian packages wixl, msitools, osslsigncode, openssl)")
    endif()
endforeach()

# The first version after this one's first three parts, which are all that Windows Installer
# compares.
string(REGEX MATCH "^([0-9]+\\.[0-9]+\\.)([0-9]+)" ignored "${VERSION}")
math(EXPR next_build "${CMAKE_MATCH_2} + 1")
set(next_build "${CMAKE_MATCH_1}${next_build}")

if(ARCH STREQUAL "win64")
    set(wixl_arch x64)
    set(win64 yes)
    set(program_files ProgramFiles64Folder)
    set(platform x64)
else()
    set(wixl_arch x86)
    set(win64 no)
    set(program_files ProgramFilesFolder)
    set(platform Intel)
endif()

# Name-based codes: the product's and the package's from the version, the architecture and
# everything that goes into the package (identical builds give identical codes; any other build,
# also of the same version, is a new product, which Windows Installer then upgrades to instead
# of refusing it as another package of an installed product). The components' are below.
set(namespace F322F88A-6857-4C23-86E1-1075F2763448)
set(contents "")
foreach(input "${PROGRAM}" "${WXS}" "${SOURCE_DIR}/resources/orvand.ico"
        "${CMAKE_CURRENT_LIST_FILE}")
    file(SHA256 "${input}" hash)
    string(APPEND contents " ${hash}")
endforeach()
string(UUID product_code NAMESPACE ${namespace} NAME "product ${ARCH} ${VERSION}${contents}"
    TYPE SHA1 UPPER)
string(UUID package_code NAMESPACE ${namespace} NAME "package ${ARCH} ${VERSION}${contents}"
    TYPE SHA1 UPPER)

# wixl takes the files by relative name from its working directory; their times go into the
# cabinet, so they are fixed (UTC: the same on every machine), like the zip's.
set(stage "${OUTPUT}.files")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}")
file(COPY_FILE "${PROGRAM}" "${stage}/Orvand.exe")
file(COPY_FILE "${SOURCE_DIR}/resources/orvand.ico" "${stage}/orvand.ico")
set(time "2001-08-03 00:00:00")
execute_process(COMMAND touch -d "${time} UTC" Orvand.exe orvand.ico WORKING_DIRECTORY "${stage}"
    COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE "${OUTPUT}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${wixl_program} -a ${wixl_arch} -o "${OUTPUT}"
        -D "ProductName=${ORVAND_ProductName}" -D "Manufacturer=${ORVAND_CompanyName}"
        -D "Description=${ORVAND_FileDescription}" -D "Version=${VERSION}"
        -D "NextBuild=${next_build}"
        -D "ProductCode=${product_code}" -D "Win64=${win64}"
        -D "ProgramFilesFolder=${program_files}" "${WXS}"
    WORKING_DIRECTORY "${stage}"
    OUTPUT_VARIABLE said ERROR_VARIABLE said RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS "${OUTPUT}")
    message(FATAL_ERROR "wixl failed (${status}) on ${WXS}:\n${said}")
endif()

# A table of the package as msiinfo exports it.
function(read_table table variable)
    execute_process(COMMAND ${msiinfo_program} export "${OUTPUT}" ${table}
        OUTPUT_VARIABLE rows COMMAND_ERROR_IS_FATAL ANY)
    string(REPLACE "\r" "" rows "${rows}")
    set(${variable} "${rows}" PARENT_SCOPE)
endfunction()

# What wixl leaves to be done, in one go:
# - the root HKMU (HKCU per user, HKLM for all users), which wixl writes as 4, which Windows
#   Installer does not know; the table's value for it is -1;
# - the older version removed before this one is installed, right after InstallValidate (1400),
#   where wixl puts it after InstallFinalize; so nothing of it outlives the upgrade, whatever
#   its components were;
# - the program's file version (of its version block) and language in its File row, so that
#   Windows Installer compares versions; a versioned file has no hash;
# - the components' codes, which wixl derives from their key paths alone: the 32-bit and the
#   64-bit package write one key in different registry views, so the architecture goes in too;
# - the properties that AppSearch sets secure, so that an elevated installation keeps them.
set(fixes -q "UPDATE `Registry` SET `Root` = -1 WHERE `Root` = 4"
    -q "UPDATE `InstallExecuteSequence` SET `Sequence` = 1401 WHERE `Action` = 'RemoveExistingProducts'"
    -q "UPDATE `File` SET `Version` = '${ORVAND_VERSION}', `Language` = '1031' WHERE `File` = 'OrvandExe'"
    -q "DELETE FROM `MsiFileHash` WHERE `File_` = 'OrvandExe'")
read_table(Component components)
string(REGEX MATCHALL "\n[^\t\n]+\t{[-0-9A-F]+}" codes "${components}")
foreach(row ${codes})
    string(REGEX MATCH "\n([^\t]+)\t({[-0-9A-F]+})" ignored "${row}")
    string(UUID code NAMESPACE ${namespace} NAME "component ${ARCH} ${CMAKE_MATCH_2}" TYPE SHA1 UPPER)
    list(APPEND fixes -q "UPDATE `Component` SET `ComponentId` = '{${code}}' WHERE `Component` = '${CMAKE_MATCH_1}'")
endforeach()
read_table(AppSearch searched)
read_table(Property properties)
string(REGEX MATCH "\nSecureCustomProperties\t([^\n]*)" ignored "${properties}")
set(secure "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "\n[A-Z_0-9]+\t" found "${searched}")
foreach(property ${found})
    string(STRIP "${property}" property)
    string(APPEND secure ";${property}")
endforeach()
execute_process(COMMAND ${msibuild_program} "${OUTPUT}" ${fixes}
        -q "UPDATE `Property` SET `Value` = '${secure}' WHERE `Property` = 'SecureCustomProperties'"
    COMMAND_ERROR_IS_FATAL ANY)

# The summary: the platform with German as the package's language (7), the package code (9),
# and the times of creation and last save (12, 13).
execute_process(COMMAND ${msiinfo_program} export "${OUTPUT}" _SummaryInformation
    OUTPUT_VARIABLE summary COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "-" "/" msi_time "${time}")
foreach(field "7\t${platform};1031" "9\t{${package_code}}" "12\t${msi_time}" "13\t${msi_time}")
    string(REGEX MATCH "^[0-9]+\t" id "${field}")
    if(NOT summary MATCHES "\n${id}")
        message(FATAL_ERROR "msiinfo showed no summary field ${id}of ${OUTPUT}:\n${summary}")
    endif()
    string(REGEX REPLACE "\n${id}[^\r\n]*" "\n${field}" summary "${summary}")
endforeach()
file(WRITE "${stage}/_SummaryInformation.idt" "${summary}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${msibuild_program} "${OUTPUT}"
        -i "${stage}/_SummaryInformation.idt"
    COMMAND_ERROR_IS_FATAL ANY)

# osslsigncode writes a package's compound file in a layout of its own, and removing a
# signature leaves that layout. The package gets it here, by a signature with a throwaway key
# that is removed at once: a signed release without its signature is then this very file.
foreach(step "${openssl_program};req;-x509;-newkey;rsa:2048;-nodes;-days;1;-subj;/CN=layout;-keyout;layout.key;-out;layout.pem"
        "${osslsigncode_program};sign;-certs;layout.pem;-key;layout.key;-in;${OUTPUT};-out;signed.msi"
        "${osslsigncode_program};remove-signature;-in;signed.msi;-out;unsigned.msi")
    execute_process(COMMAND ${step} WORKING_DIRECTORY "${stage}" OUTPUT_VARIABLE said
        ERROR_VARIABLE said RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${step} failed (${status}):\n${said}")
    endif()
endforeach()
file(RENAME "${stage}/unsigned.msi" "${OUTPUT}")
file(REMOVE_RECURSE "${stage}")
