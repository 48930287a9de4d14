# Delay-loaded system DLLs. comdlg32 and comctl32 pull half a dozen more DLLs into every
# start (shell32, shcore, shlwapi, winspool, compstui; uxtheme), while the program needs
# them only for a browse button that is rarely pressed and for the control bars of the
# frame. A delay import loads its DLL at the first call of one of its functions instead;
# the loader, __delayLoadHelper2, comes with MinGW-w64's libmingwex.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(LUMORA_DELAY_IMPORTS_DIR ${CMAKE_CURRENT_LIST_DIR}/delay_imports)

# lumora_delay_imports(TARGET DLL...): the interface library TARGET, linked instead of the
# DLLs' import libraries. The functions of each DLL are those of delay_imports/<DLL>.def,
# named as the i686 linker sees them ("Function@bytes"; the x86_64 names carry no stack
# size); a call of any other is an undefined reference at link time.
function(lumora_delay_imports target)
    set(out ${PROJECT_BINARY_DIR}/delay_imports)
    file(MAKE_DIRECTORY ${out})
    set(libraries "")
    foreach(dll ${ARGN})
        set(def ${LUMORA_DELAY_IMPORTS_DIR}/${dll}.def)
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            # The DLL exports the plain names; the program calls the decorated ones.
            set(names ${def})
            set(kill --kill-at)
        else()
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
            file(READ ${def} text)
            string(REGEX REPLACE "@[0-9]+" "" text "${text}")
            set(names ${out}/${dll}.def)
            file(CONFIGURE OUTPUT ${names} CONTENT "${text}" @ONLY)
            set(kill "")
        endif()
        # Made in its folder: dlltool names the library's symbols after the path it is given.
        add_custom_command(OUTPUT ${out}/lib${dll}_delay.a
            COMMAND ${CMAKE_DLLTOOL} --input-def ${names} --output-delaylib lib${dll}_delay.a
                    --dllname ${dll}.dll ${kill}
            WORKING_DIRECTORY ${out}
            DEPENDS ${names} ${def}
            COMMENT "Making the delay import library of ${dll}.dll")
        list(APPEND libraries ${out}/lib${dll}_delay.a)
    endforeach()
    add_custom_target(${target}_libraries DEPENDS ${libraries})
    # The zero entry that ends the table goes into every program that links them.
    add_library(${target}_end OBJECT ${LUMORA_DELAY_IMPORTS_DIR}/end_of_table.c)
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${libraries} ${target}_end
                          $<TARGET_OBJECTS:${target}_end>)
    add_dependencies(${target} ${target}_libraries)
endfunction()

# lumora_delay_import_directory(TARGET): after each link of TARGET, its header names its
# delay import table, which GNU ld leaves out (delay_imports/fill_directory.py). Called in
# the folder of each shipped program that links delay imports; without it the import
# audit would not see them.
function(lumora_delay_import_directory target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${Python3_EXECUTABLE} ${LUMORA_DELAY_IMPORTS_DIR}/fill_directory.py
                ${CMAKE_NM} $<TARGET_FILE:${target}>
        VERBATIM)
endfunction()
