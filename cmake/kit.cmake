# The publisher's kit, written by CPack (make kit):
#  - a Windows build: lumora-setup-kit-VERSION.zip (the x86_64 build adds "-x86_64"),
#    unpacked into the CD's root folder: the shipped files where the setup looks for
#    them, the settings templates and the publishers' text (kit/); and, for support,
#    lumora-setup-kit-VERSION-symbols.zip: the debugging information of each shipped file
#    (cmake/release_files.cmake) in the same place, to unpack over the kit;
#  - the tools build: a Debian package of the Linux tools, which run from the install
#    prefix: cdcheck and initool on PATH, try-cd with its rig and GUI driver below
#    share/lumora-setup in the layout of the source tree.
set(CPACK_PACKAGE_NAME lumora-setup)
set(CPACK_PACKAGE_VENDOR "Lumora")
set(CPACK_PACKAGE_CONTACT "Lumora setup team <setup@lumora.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(kit ${PROJECT_SOURCE_DIR}/kit)

if(WIN32)
    # kit_file(TARGET FOLDER): the shipped file of TARGET in FOLDER of the kit, its
    # symbols in the same folder of the symbols archive.
    function(kit_file target folder)
        install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION ${folder} COMPONENT kit)
        install(FILES ${LUMORA_SYMBOLS_DIR}/$<TARGET_FILE_NAME:${target}>.debug
                DESTINATION ${folder} COMPONENT symbols)
    endfunction()
    kit_file(setup .)
    kit_file(setup ${LUMORA_PROGRAM_FOLDER})
    kit_file(install_dll ${LUMORA_PROGRAM_FOLDER})
    kit_file(set32res ${LUMORA_GERMAN_FOLDER})
    kit_file(view_ocx ${LUMORA_PLUGIN_FOLDER})
    install(FILES ${kit}/search.ini ${kit}/PUBLISHERS.txt DESTINATION . COMPONENT kit)
    install(FILES ${kit}/publish/search.ini DESTINATION publish COMPONENT kit)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_ALL kit symbols)
    set(name lumora-setup-kit-${PROJECT_VERSION})
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        string(APPEND name -x86_64)
    endif()
    set(CPACK_ARCHIVE_KIT_FILE_NAME ${name})
    set(CPACK_ARCHIVE_SYMBOLS_FILE_NAME ${name}-symbols)
else()
    # The try-out's files, in their places below the source tree's root (the one list
    # to change when the try-out's files change): the program, its modules, the rig it
    # boots Wine with and the table of the Windows versions.
    file(GLOB trycd_modules RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
         ${PROJECT_SOURCE_DIR}/tools/trycd/*.py)
    set(LUMORA_TRYCD_FILES tools/try-cd ${trycd_modules} tools/rig/rig.sh tools/rig/machine.sh
        tools/rig/rig_drives.sh tools/rig/rig_image.sh tools/rig/machine32.sh
        tools/windows_versions.txt tools/install-deps.sh tools/system-needs.txt)
    set(LUMORA_TRYCD_ENTRY tools/try-cd)
    # The GUI drivers come from the Windows builds beside this one: the try-out runs the
    # driver of the setup's own build beside it.
    get_filename_component(builds ${PROJECT_BINARY_DIR} DIRECTORY)
    set(LUMORA_GUIDRIVER ${builds}/mingw64/tools/guidriver/guidriver.exe CACHE FILEPATH
        "The GUI driver the try-out runs beside an x86_64 setup")
    set(LUMORA_GUIDRIVER_I686 ${builds}/mingw32/tools/guidriver/guidriver.exe CACHE FILEPATH
        "The GUI driver the try-out runs beside an i686 setup")

    set(share share/lumora-setup)
    install(TARGETS cdcheck initool RUNTIME DESTINATION bin COMPONENT tools)
    foreach(file ${LUMORA_TRYCD_FILES})
        get_filename_component(folder ${file} DIRECTORY)
        install(PROGRAMS ${PROJECT_SOURCE_DIR}/${file} DESTINATION ${share}/${folder} COMPONENT tools)
    endforeach()
    # try-cd finds the setup on a disc by the program's names.
    install(FILES ${LUMORA_PROGRAM_NAMES} DESTINATION ${share}/tools COMPONENT tools)
    # try-cd looks for guidriver.exe and guidriver-i686.exe beside itself.
    install(FILES ${LUMORA_GUIDRIVER} DESTINATION ${share}/tools COMPONENT tools OPTIONAL)
    install(FILES ${LUMORA_GUIDRIVER_I686} DESTINATION ${share}/tools
            RENAME guidriver-i686.exe COMPONENT tools OPTIONAL)
    # bin/try-cd: the entry point, a link into the tree below share.
    install(CODE "
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
        file(CREATE_LINK ../${share}/${LUMORA_TRYCD_ENTRY}
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/try-cd\" SYMBOLIC)" COMPONENT tools)
    install(FILES ${kit}/PUBLISHERS.txt ${PROJECT_SOURCE_DIR}/docs/publishing.md
                  ${PROJECT_SOURCE_DIR}/docs/cdcheck.md
            DESTINATION share/doc/lumora-setup COMPONENT tools)

    set(CPACK_GENERATOR DEB)
    set(CPACK_DEB_COMPONENT_INSTALL OFF)
    set(CPACK_DEBIAN_PACKAGE_NAME lumora-setup-tools)
    set(CPACK_PACKAGE_FILE_NAME lumora-setup-tools_${PROJECT_VERSION}_amd64)
    set(CPACK_DEBIAN_PACKAGE_SECTION devel)
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
        "Lumora setup tools: cdcheck, initool and the try-out of a CD under Wine")
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Depends: the packages of the "tools" set of the table of what the project needs.
    set(needs_table ${PROJECT_SOURCE_DIR}/tools/system-needs.txt)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${needs_table})
    file(STRINGS ${needs_table} need_rows REGEX "^[^# \t]")
    set(tools_packages "")
    foreach(row IN LISTS need_rows)
        string(REGEX MATCH "^([^ \t]+)[ \t]+([^ \t]+)" _ "${row}")
        set(need "${CMAKE_MATCH_1}")
        string(REPLACE "," ";" audience "${CMAKE_MATCH_2}")
        # A locale (locale:NAME) is made on the machine, not depended on.
        if("tools" IN_LIST audience AND NOT need MATCHES "^locale:")
            # PACKAGE/SUITE: the package is named; apt takes it from the suite the user chose.
            string(REGEX REPLACE "/.*" "" package "${need}")
            list(APPEND tools_packages ${package})
        endif()
    endforeach()
    list(JOIN tools_packages ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
include(CPack)
