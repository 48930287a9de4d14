# The shipped files leave the link as the kit carries them: stripped of their symbols and
# debugging sections, so that what the tests, the demo and the try-out run is the file a
# publisher presses. The debugging information goes to symbols/FILE.debug in the build
# folder; the file names it (.gnu_debuglink), so a debugger finds it when it lies beside
# the file, as the kit's symbols archive puts it (cmake/kit.cmake).
set(LUMORA_SYMBOLS_DIR ${PROJECT_BINARY_DIR}/symbols)

# lumora_release_file(TARGET): after each link, strip TARGET's file and keep its symbols.
# Called in the target's own folder, after every other step that reads the linked file's
# symbols (the delay import directory): a target's steps run in the order they are added.
function(lumora_release_file target)
    set_target_properties(${target} PROPERTIES LUMORA_RELEASE_FILE ON)
    set(file $<TARGET_FILE:${target}>)
    set(debug ${LUMORA_SYMBOLS_DIR}/$<TARGET_FILE_NAME:${target}>.debug)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMORA_SYMBOLS_DIR}
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${debug}
        COMMAND ${CMAKE_STRIP} --strip-all ${file}
        COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${debug} ${file}
        VERBATIM)
endfunction()
