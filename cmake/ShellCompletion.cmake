# Bash completion for cellctl, written by a tool that walks the program's own
# command line (cli/tools/cellctl-completion.cpp), so it knows every command,
# option and choice the program knows.
if(NOT TARGET cellctl_cli)
    return()
endif()

add_executable(cellctl_completion ${PROJECT_SOURCE_DIR}/cli/tools/cellctl-completion.cpp)
target_link_libraries(cellctl_completion PRIVATE cellctl_cli)

set(CELLCTL_BASH_COMPLETION ${PROJECT_BINARY_DIR}/completion/cellctl)
add_custom_command(OUTPUT ${CELLCTL_BASH_COMPLETION}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/completion
    COMMAND cellctl_completion bash > ${CELLCTL_BASH_COMPLETION}
    DEPENDS cellctl_completion
    COMMENT "Bash completion for cellctl")
add_custom_target(shell_completion ALL DEPENDS ${CELLCTL_BASH_COMPLETION})
install(FILES ${CELLCTL_BASH_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
