# The installation log by which the installed Uninstall removes this installation: share/zumbrel/install.log,
# its paths without DESTDIR. Run twice by the install: with ZUMBREL_INSTALL_LOG_STEP "begin" before the first
# file is put down, to note which of the installation's folders (ZUMBREL_INSTALL_FOLDERS, relative to the
# prefix, and every folder above them) are missing; with "end" as the last rule, to write the log:
#   [CopyFiles]   one line "<path>=1" per installed file, Uninstall included
#   [CreateDirs]  the noted folders the install created, and those an earlier log listed; staged below a
#                 DESTDIR, only the installation's own folder share/zumbrel and the folders below it
# The uninstaller reads Windows-1252 text whose lines end in CR LF, and takes blanks beside an "=" for
# padding; paths are kept in strings separated by line feeds, since a path may hold CMake's list brackets.

# The functions keep the policies they were defined under.
cmake_policy(PUSH)
cmake_policy(VERSION 3.25)

# The prefix as the log names it: absolute (a relative one lies below the current folder, as for the
# install itself) and without "." or ".." steps, which the uninstaller refuses; "/" is the empty text.
if(CMAKE_INSTALL_PREFIX STREQUAL "")
    set(zumbrel_prefix "")
else()
    get_filename_component(zumbrel_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
    cmake_path(SET zumbrel_prefix NORMALIZE "${zumbrel_prefix}")
    string(REGEX REPLACE "/$" "" zumbrel_prefix "${zumbrel_prefix}")
endif()
set(zumbrel_log "${zumbrel_prefix}/share/zumbrel/install.log")

# Takes the first line off a text of lines that each end in a line feed.
macro(zumbrel_pop_line text line)
    string(FIND "${${text}}" "\n" at)
    string(SUBSTRING "${${text}}" 0 ${at} ${line})
    math(EXPR at "${at} + 1")
    string(SUBSTRING "${${text}}" ${at} -1 ${text})
endmacro()

function(zumbrel_install_log_begin)
    set(controls "")
    foreach(code RANGE 1 31)
        string(ASCII ${code} c)
        string(APPEND controls "${c}")
    endforeach()
    string(ASCII 127 c)
    string(APPEND controls "${c}")
    set(refusal "")
    if(zumbrel_prefix MATCHES "[${controls}]")
        set(refusal "a control character")
    elseif(zumbrel_prefix MATCHES ";")
        set(refusal "a \";\", which CMake takes for a list separator")
    elseif(zumbrel_prefix MATCHES "[ \t]=|=[ \t]")
        set(refusal "a blank or tab beside an \"=\"")
    else()
        execute_process(COMMAND "${CMAKE_COMMAND}" -E echo_append "${zumbrel_prefix}"
                        COMMAND iconv -f UTF-8 -t WINDOWS-1252 RESULT_VARIABLE converted OUTPUT_QUIET ERROR_QUIET)
        if(NOT converted EQUAL 0)
            set(refusal "a character that Windows-1252 cannot hold")
        endif()
    endif()
    if(refusal)
        message(FATAL_ERROR "The prefix \"${zumbrel_prefix}\" has ${refusal}: the installation log "
                            "share/zumbrel/install.log could not name its files. Nothing was installed.")
    endif()

    # Each folder once, with a line feed before and after it, so that a folder is found whole.
    set(ZUMBREL_LOG_NOTED "\n")
    set(ZUMBREL_LOG_MISSING "\n")
    foreach(relative IN LISTS ZUMBREL_INSTALL_FOLDERS)
        set(folder "${zumbrel_prefix}/${relative}")
        set(above "")
        while(NOT folder STREQUAL "/" AND NOT folder STREQUAL "")
            set(above "${folder}\n${above}")
            get_filename_component(folder "${folder}" DIRECTORY)
        endwhile()
        while(NOT above STREQUAL "") # from the top down, so the log lists a folder before those below it
            zumbrel_pop_line(above folder)
            string(FIND "${ZUMBREL_LOG_NOTED}" "\n${folder}\n" known)
            if(known EQUAL -1)
                string(APPEND ZUMBREL_LOG_NOTED "${folder}\n")
                if(NOT IS_DIRECTORY "$ENV{DESTDIR}${folder}")
                    string(APPEND ZUMBREL_LOG_MISSING "${folder}\n")
                endif()
            endif()
        endwhile()
    endforeach()
    set(ZUMBREL_LOG_NOTED "${ZUMBREL_LOG_NOTED}" PARENT_SCOPE)
    set(ZUMBREL_LOG_MISSING "${ZUMBREL_LOG_MISSING}" PARENT_SCOPE)
endfunction()

function(zumbrel_install_log_end)
    # [CopyFiles]: every file this install put down (the menu entry included), in its order.
    set(copied "")
    set(files "${CMAKE_INSTALL_MANIFEST_FILES}")
    while(NOT files STREQUAL "")
        string(FIND "${files}" ";" at)
        if(at EQUAL -1)
            set(file "${files}")
            set(files "")
        else()
            string(SUBSTRING "${files}" 0 ${at} file)
            math(EXPR at "${at} + 1")
            string(SUBSTRING "${files}" ${at} -1 files)
        endif()
        if(file STREQUAL "")
            continue()
        endif()
        cmake_path(SET file NORMALIZE "${file}")
        get_filename_component(folder "${file}" DIRECTORY)
        string(FIND "${ZUMBREL_LOG_NOTED}" "\n${folder}\n" known)
        if(known EQUAL -1)
            message(FATAL_ERROR "${folder} is not among ZUMBREL_INSTALL_FOLDERS: the installation log cannot tell "
                                "whether the install created it.")
        endif()
        string(APPEND copied "${file}=1\r\n")
    endwhile()

    # [CreateDirs]: what an earlier log of this installation listed stays listed (those folders exist now and
    # were not noted as missing), then each noted folder that the install created. A stage is copied onto a
    # system whose folders it cannot know: a folder missing from the stage (/usr/local/bin) may be the
    # system's own, so a staged log names only the installation's folder and those below it, and an earlier
    # log in the stage, which may name such folders, counts for nothing.
    set(created "\n")
    set(missing "${ZUMBREL_LOG_MISSING}")
    if(NOT "$ENV{DESTDIR}" STREQUAL "")
        get_filename_component(own "${zumbrel_log}" DIRECTORY)
        string(LENGTH "${own}/" length)
        set(missing "\n")
        set(noted "${ZUMBREL_LOG_NOTED}")
        string(SUBSTRING "${noted}" 1 -1 noted)
        while(NOT noted STREQUAL "")
            zumbrel_pop_line(noted folder)
            string(SUBSTRING "${folder}/" 0 ${length} start)
            if(start STREQUAL "${own}/")
                string(APPEND missing "${folder}\n")
            endif()
        endwhile()
    elseif(EXISTS "$ENV{DESTDIR}${zumbrel_log}")
        # As the uninstaller reads it: a line ends at CR, a line feed counts for nothing. CMake itself would
        # read CR LF as one line end, and a line feed alone as another.
        execute_process(COMMAND iconv -f WINDOWS-1252 -t UTF-8 "$ENV{DESTDIR}${zumbrel_log}"
                        COMMAND tr -d "\\n" COMMAND tr "\\r" "\\n"
                        OUTPUT_VARIABLE earlier RESULTS_VARIABLE converted ERROR_QUIET)
        if(NOT converted STREQUAL "0;0;0")
            message(WARNING "The earlier installation log could not be read; the folders it lists are not kept.")
            set(earlier "")
        endif()
        string(APPEND earlier "\n")
        set(section "")
        while(NOT earlier STREQUAL "")
            zumbrel_pop_line(earlier line)
            string(STRIP "${line}" line)
            if(line MATCHES "^;") # a comment
            elseif(line MATCHES "^\\[(.*)\\]$")
                string(TOLOWER "${CMAKE_MATCH_1}" section)
            elseif(section STREQUAL "createdirs" AND line MATCHES "^(.*)=")
                string(STRIP "${CMAKE_MATCH_1}" folder)
                string(FIND "${created}" "\n${folder}\n" known)
                if(known EQUAL -1 AND NOT folder STREQUAL "")
                    string(APPEND created "${folder}\n")
                endif()
            endif()
        endwhile()
    endif()
    string(SUBSTRING "${missing}" 1 -1 missing)
    while(NOT missing STREQUAL "")
        zumbrel_pop_line(missing folder)
        string(FIND "${created}" "\n${folder}\n" known)
        if(known EQUAL -1 AND IS_DIRECTORY "$ENV{DESTDIR}${folder}")
            string(APPEND created "${folder}\n")
        endif()
    endwhile()
    string(SUBSTRING "${created}" 1 -1 created)
    string(REGEX REPLACE "\n" "=1\r\n" created "${created}")

    # Written beside and renamed into place, so that a failed install leaves the earlier log whole.
    set(text "[CopyFiles]\r\n${copied}\r\n[CreateDirs]\r\n${created}\r\n")
    message(STATUS "Installing: $ENV{DESTDIR}${zumbrel_log}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E echo_append "${text}" COMMAND iconv -f UTF-8 -t WINDOWS-1252
                    OUTPUT_FILE "$ENV{DESTDIR}${zumbrel_log}.new" RESULT_VARIABLE converted)
    if(NOT converted EQUAL 0)
        file(REMOVE "$ENV{DESTDIR}${zumbrel_log}.new")
        message(FATAL_ERROR "The installation log could not be written as Windows-1252 text (iconv: ${converted}).")
    endif()
    file(RENAME "$ENV{DESTDIR}${zumbrel_log}.new" "$ENV{DESTDIR}${zumbrel_log}")
    set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES};${zumbrel_log}" PARENT_SCOPE)
endfunction()

cmake_policy(POP)

if(ZUMBREL_INSTALL_LOG_STEP STREQUAL "begin")
    zumbrel_install_log_begin()
else()
    zumbrel_install_log_end()
endif()
