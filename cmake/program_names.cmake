# The program's names that the build and the tools outside C++ need: where the kit puts
# the shipped files, and where try-cd finds the setup on a disc. They are read from the
# headers that state them, so a change there reaches the kit and try-cd with the next
# configure; a constant not found stops it. The table program_names.txt of every build
# folder ("NAME VALUE" lines, folders with forward slashes) goes into the tools package
# beside try-cd.

# lumora_header_text(HEADER CONSTANT OUT): the text of `constexpr char CONSTANT[] = "...";`.
function(lumora_header_text header constant out)
    file(READ ${PROJECT_SOURCE_DIR}/${header} text)
    if(NOT text MATCHES "constexpr char ${constant}\\[\\] = \"([^\"]*)\";")
        message(FATAL_ERROR "${header} states no ${constant}: the kit and try-cd take it from there")
    endif()
    # A C string's "\\" is one backslash; the tables name folders with "/".
    string(REPLACE "\\\\" "/" value "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "^/" "" value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

lumora_header_text(setup/copy_plan.h kWindowsFolder windows_folder)
lumora_header_text(setup/copy_plan.h kBinPart bin_part)
lumora_header_text(setup/rules.h kSetupProgram LUMORA_SETUP_PROGRAM)
lumora_header_text(app/resource_library.h kGermanFolder german_folder)
lumora_header_text(integration/browser_rules.h kPluginTree LUMORA_PLUGIN_FOLDER)
set(LUMORA_PROGRAM_FOLDER ${windows_folder}/${bin_part})
set(LUMORA_GERMAN_FOLDER ${windows_folder}/${german_folder})

set(LUMORA_PROGRAM_NAMES ${PROJECT_BINARY_DIR}/program_names.txt)
file(CONFIGURE OUTPUT ${LUMORA_PROGRAM_NAMES} CONTENT
"program-folder ${LUMORA_PROGRAM_FOLDER}
setup ${LUMORA_SETUP_PROGRAM}
")
