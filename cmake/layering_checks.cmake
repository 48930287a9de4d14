# Checks of the program's layering that the compiler cannot make, run as `cmake -P`:
#   -DCHECK=includes -DROOT=<source folder>
#       no #include climbs out of a folder ("../app/searchapp.h" would reach a header the
#       layer may not see, past the include paths that enforce the layering);
#   -DCHECK=ui_imports -DNM=<nm> -DCXX=<compiler> -DARCHIVES=<a,b,...>
#       the platform layer's archives call no user-interface function: none of their
#       undefined symbols is exported by user32, comdlg32 or comctl32, and none names a
#       message box (the framework's AfxMessageBox included). The caller decides what the
#       user sees, never the platform services.
cmake_minimum_required(VERSION 3.25)

if(CHECK STREQUAL "includes")
    set(found "")
    foreach(folder app bench dde dialogs framework integration platform product resources
                   setup tests tools)
        file(GLOB_RECURSE files ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.h
             ${ROOT}/${folder}/*.inc ${ROOT}/${folder}/*.rc)
        foreach(file ${files})
            file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\.[/\\\\]")
            foreach(line ${lines})
                file(RELATIVE_PATH name ${ROOT} ${file})
                string(APPEND found "\n  ${name}: ${line}")
            endforeach()
        endforeach()
    endforeach()
    if(found)
        message(FATAL_ERROR "includes that climb out of their folder; name the header from "
                            "the top folder and link its layer instead:${found}")
    endif()
elseif(CHECK STREQUAL "ui_imports")
    set(ui_symbols "")
    foreach(library user32 comdlg32 comctl32)
        execute_process(COMMAND ${CXX} -print-file-name=lib${library}.a
                        OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT EXISTS "${import_library}")
            message(FATAL_ERROR "no import library for ${library} (${import_library})")
        endif()
        execute_process(COMMAND ${NM} -g --defined-only ${import_library}
                        OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "${NM} could not read ${import_library}")
        endif()
        string(REGEX MATCHALL "__imp_[A-Za-z0-9_@]+" names "${symbols}")
        list(APPEND ui_symbols ${names})
    endforeach()
    list(REMOVE_DUPLICATES ui_symbols)
    set(found "")
    string(REPLACE "," ";" archives "${ARCHIVES}")
    foreach(archive ${archives})
        execute_process(COMMAND ${NM} -u ${archive} OUTPUT_VARIABLE undefined
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "${NM} could not read ${archive}")
        endif()
        string(REGEX MATCHALL "[A-Za-z0-9_@?$]+" names "${undefined}")
        list(REMOVE_DUPLICATES names)
        foreach(name ${names})
            if(name IN_LIST ui_symbols OR name MATCHES "MessageBox")
                get_filename_component(archive_name ${archive} NAME)
                string(APPEND found "\n  ${archive_name}: ${name}")
            endif()
        endforeach()
    endforeach()
    if(found)
        message(FATAL_ERROR "the platform layer calls user-interface functions:${found}")
    endif()
    list(LENGTH ui_symbols count)
    message(STATUS "platform layer: no call among ${count} user-interface functions")
else()
    message(FATAL_ERROR "CHECK must be includes or ui_imports")
endif()
