# Stages one language of the manual: the pages and the style sheet as they are, the pictures
# they show from docs/screenshots into images/ (the pages' "../../screenshots/" becomes
# "images/"), and, with chmcmd, compiles a copy of it into the help file.
# Run with -DSOURCE=docs/help/LANG -DPICTURES=docs/screenshots -DSTAGE=... -DCHMCMD=... -DCHM=...
# and, for Japanese, -DCODEPAGE=CP932: CHM viewers read the project's title and window, the
# contents and the index in the code page of the file's language, and their HTML views break
# lines only at spaces.
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/images")
file(GLOB styles "${SOURCE}/*.css")
file(COPY ${styles} DESTINATION "${STAGE}")
file(GLOB pages "${SOURCE}/*.html")
set(names)
foreach(page ${pages})
    file(READ "${page}" text)
    string(REGEX MATCHALL "\"\\.\\./\\.\\./screenshots/[^\"]+\"" pictures "${text}")
    foreach(picture ${pictures})
        string(REGEX REPLACE "^\"\\.\\./\\.\\./screenshots/(.*)\"$" "\\1" name "${picture}")
        file(COPY "${PICTURES}/${name}" DESTINATION "${STAGE}/images")
    endforeach()
    string(REPLACE "\"../../screenshots/" "\"images/" text "${text}")
    get_filename_component(name "${page}" NAME)
    file(WRITE "${STAGE}/${name}" "${text}")
    list(APPEND names ${name})
endforeach()
if(NOT CHMCMD)
    return()
endif()

set(project_dir "${STAGE}.chm")
file(REMOVE_RECURSE "${project_dir}")
file(COPY "${STAGE}/" DESTINATION "${project_dir}")
if(CODEPAGE)
    foreach(name ${names})
        file(READ "${project_dir}/${name}" text)
        string(REPLACE "、" "、 " text "${text}")
        string(REPLACE "。" "。 " text "${text}")
        file(WRITE "${project_dir}/${name}" "${text}")
    endforeach()
endif()
file(GLOB files "${SOURCE}/*.hhp" "${SOURCE}/*.hhc" "${SOURCE}/*.hhk")
foreach(file ${files})
    get_filename_component(name "${file}" NAME)
    if(CODEPAGE)
        file(READ "${file}" text)
        string(REPLACE "charset=utf-8" "charset=${CODEPAGE}" text "${text}")
        file(WRITE "${project_dir}/${name}.utf8" "${text}")
        execute_process(COMMAND iconv -f UTF-8 -t ${CODEPAGE} "${project_dir}/${name}.utf8"
                        OUTPUT_FILE "${project_dir}/${name}" RESULT_VARIABLE result)
        file(REMOVE "${project_dir}/${name}.utf8")
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "iconv could not write ${name} in ${CODEPAGE}")
        endif()
    else()
        file(COPY "${file}" DESTINATION "${project_dir}")
    endif()
endforeach()

file(GLOB project "${project_dir}/*.hhp")
execute_process(COMMAND "${CHMCMD}" --verbosity 1 "${project}" WORKING_DIRECTORY "${project_dir}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
# chmcmd names the file after the project's "Compiled file"; a page it cannot find is only a
# warning to it, and a broken manual to us.
file(GLOB built "${project_dir}/*.chm")
if(NOT result EQUAL 0 OR NOT built OR out MATCHES "(Error|Warning):")
    message(FATAL_ERROR "chmcmd failed on ${project}:\n${out}")
endif()
file(RENAME "${built}" "${CHM}")
file(REMOVE_RECURSE "${project_dir}")
