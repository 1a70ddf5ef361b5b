# Man pages cellctl(1) and cellsim(1), built from the manuals in docs/ by
# cmake/md2man.py, so that a page always says what its manual says.
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
    message(STATUS "cellctl: no python3, so no man pages")
    return()
endif()

set(CELLCTL_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(pages)
foreach(program cellctl cellsim)
    set(page ${CELLCTL_MAN_DIR}/${program}.1)
    add_custom_command(OUTPUT ${page} ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CELLCTL_MAN_DIR}
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/md2man.py
                ${PROJECT_SOURCE_DIR}/docs/${program}.md ${page} ${PROJECT_VERSION}
        COMMAND gzip -9nkf ${page}
        DEPENDS ${PROJECT_SOURCE_DIR}/docs/${program}.md ${PROJECT_SOURCE_DIR}/cmake/md2man.py
        COMMENT "Man page ${program}(1)")
    list(APPEND pages ${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
