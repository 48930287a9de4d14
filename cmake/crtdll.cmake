# The C runtime of the i686 files a publisher presses: crtdll.dll, the one that Windows 95,
# Windows 3.1 with Win32s 1.30 and Windows NT 3.1 to 4.0 all carry, instead of the
# compiler's msvcrt.dll, which the first Windows 95 and Win32s lack (docs/windows-target.md).
# GCC 12 has no switch for another runtime; its driver names the runtime in the "libgcc"
# spec, so a specs file that repeats that spec with -lcrtdll for -lmsvcrt does it.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpspecs OUTPUT_VARIABLE compiler_specs
                RESULT_VARIABLE failed)
string(REGEX MATCH "\\*libgcc:\n[^\n]*" libgcc_spec "${compiler_specs}")
if(failed OR NOT libgcc_spec MATCHES " -lmsvcrt ")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} links no -lmsvcrt to replace: ${libgcc_spec}")
endif()
string(REPLACE " -lmsvcrt " " -lcrtdll " libgcc_spec "${libgcc_spec}")
set(LUMORA_CRTDLL_SPECS ${PROJECT_BINARY_DIR}/crtdll.specs)
# Written only when it changes, so that a new configure does not relink the files.
file(CONFIGURE OUTPUT ${LUMORA_CRTDLL_SPECS} CONTENT "${libgcc_spec}\n\n" @ONLY)

# The names that libstdc++ takes from msvcrt.dll's import library and crtdll.dll's lacks.
add_library(lumora_crtdll_names OBJECT ${PROJECT_SOURCE_DIR}/platform/crtdll_names.c)
lumora_layer(lumora_crtdll_names FOLDERS platform)

# lumora_link_crtdll(TARGET): TARGET, an i686 file with code, imports crtdll.dll.
function(lumora_link_crtdll target)
    target_link_options(${target} PRIVATE -specs=${LUMORA_CRTDLL_SPECS})
    target_link_libraries(${target} PRIVATE lumora_crtdll_names)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${LUMORA_CRTDLL_SPECS})
endfunction()
