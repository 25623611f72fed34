# Reads the program's version block as tools/generate writes it (resources/version.rc) into
# the caller's scope: ORVAND_VERSION, the file version as a.b.c.d, and ORVAND_CompanyName,
# ORVAND_ProductName and ORVAND_FileDescription, the strings the packages show. A missing
# entry stops the script.
function(orvand_read_version_block source_dir)
    set(script "${source_dir}/resources/version.rc")
    file(STRINGS "${script}" line REGEX "^FILEVERSION [0-9]+,[0-9]+,[0-9]+,[0-9]+$")
    if(NOT line)
        message(FATAL_ERROR "no FILEVERSION line in ${script}")
    endif()
    string(REGEX REPLACE "^FILEVERSION " "" version "${line}")
    string(REPLACE "," "." version "${version}")
    set(ORVAND_VERSION "${version}" PARENT_SCOPE)
    foreach(name CompanyName ProductName FileDescription)
        set(pattern "^ *VALUE \"${name}\", \"([^\"]+)\"$")
        file(STRINGS "${script}" line REGEX "${pattern}")
        if(NOT line)
            message(FATAL_ERROR "no ${name} in ${script}")
        endif()
        string(REGEX REPLACE "${pattern}" "\\1" value "${line}")
        set(ORVAND_${name} "${value}" PARENT_SCOPE)
    endforeach()
endfunction()
