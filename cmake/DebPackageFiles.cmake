# Runs inside CPack's install of one package's component (`part`): installs the
# whole tree (the install rules carry no components) into a scratch directory
# beside the package's, then copies in the files that belong to this package.
# Every installed file must belong to exactly one package, so that a file
# added to the install later cannot silently miss the packages.
# Set by the caller: part, CELLCTL_BINARY_DIR, LIBDIR, INCLUDEDIR, BINDIR, DATADIR.

# Package part -> regular expression on file paths below the prefix.
set(files_of_libs "^${LIBDIR}/lib[^/]*\\.so\\.[0-9.]+$")
set(files_of_dev "^${INCLUDEDIR}/|^${LIBDIR}/lib[^/]*\\.so$|^${LIBDIR}/cmake/|^${LIBDIR}/pkgconfig/")
set(files_of_programs "^${BINDIR}/|^${DATADIR}/")
set(parts libs dev programs)

set(package_root "$ENV{DESTDIR}")
set(whole "${package_root}.whole")
file(REMOVE_RECURSE "${whole}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${whole}
            ${CMAKE_COMMAND} --install ${CELLCTL_BINARY_DIR} --component Unspecified --prefix ${CMAKE_INSTALL_PREFIX}
    OUTPUT_QUIET
    RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "installing the tree for the ${part} package failed")
endif()

set(installed "${whole}${CMAKE_INSTALL_PREFIX}")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${installed}" "${installed}/*")
foreach(file IN LISTS files)
    set(owners)
    foreach(candidate IN LISTS parts)
        if(file MATCHES "${files_of_${candidate}}")
            list(APPEND owners ${candidate})
        endif()
    endforeach()
    list(LENGTH owners count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "${file} belongs to ${count} packages (${owners}): fix the table in cmake/DebPackageFiles.cmake")
    endif()
    if(owners STREQUAL part)
        get_filename_component(dir "${file}" DIRECTORY)
        file(COPY "${installed}/${file}" DESTINATION "${package_root}${CMAKE_INSTALL_PREFIX}/${dir}")
    endif()
endforeach()
file(REMOVE_RECURSE "${whole}")
