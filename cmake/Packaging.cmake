# What a Linux system expects of cellctl beyond the binaries: man pages, shell
# completion, and Debian packages built with CPack (make deb).
include(${CMAKE_CURRENT_LIST_DIR}/ManPages.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/ShellCompletion.cmake)

# ----- the packages -------------------------------------------------------
# libcellctl<SOVERSION>: the shared libraries; libcellctl-dev: headers, CMake
# package and pkg-config files; cellctl: the programs with their man pages and
# completion. The tree's install rules name no components, so each package
# takes its files from a whole install by path (cmake/DebPackageFiles.cmake).
foreach(part libs dev programs)
    install(CODE "
        if(CMAKE_INSTALL_COMPONENT STREQUAL \"${part}\")
            set(part ${part})
            set(CELLCTL_BINARY_DIR \"${PROJECT_BINARY_DIR}\")
            set(LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
            set(INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
            set(BINDIR \"${CMAKE_INSTALL_BINDIR}\")
            set(DATADIR \"${CMAKE_INSTALL_DATADIR}\")
            include(\"${PROJECT_SOURCE_DIR}/cmake/DebPackageFiles.cmake\")
        endif()" COMPONENT ${part})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cellctl)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "cellctl developers <cellctl-dev@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control of 3G TD-SCDMA/GSM USB modems")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL libs dev programs)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# Dependencies on system libraries come from dpkg-shlibdeps; those between our
# own packages from the component dependencies (our libraries are found in the
# build tree, where they belong to no installed package).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/lib ${PROJECT_BINARY_DIR}/at)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_LIBS_PACKAGE_NAME libcellctl${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_LIBS_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_LIBS_DESCRIPTION "control library for 3G TD-SCDMA/GSM USB modems
 libcellctl powers the radio, unlocks the SIM, selects operators and network
 modes and sets up packet data; libcellctl-at carries its commands to a modem
 over a serial port, a pty or TCP.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libcellctl-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libboost-dev")
set(CPACK_COMPONENT_DEV_DEPENDS libs)
set(CPACK_COMPONENT_DEV_DESCRIPTION "control library for 3G USB modems - development files
 Headers, the CMake package (find_package(cellctl)) and pkg-config files.")

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_NAME cellctl)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PROGRAMS_PACKAGE_RECOMMENDS "ppp, mobile-broadband-provider-info")
set(CPACK_COMPONENT_PROGRAMS_DEPENDS libs)
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION "connection manager for 3G TD-SCDMA/GSM USB modems
 cellctl brings a data card online (SIM, registration, packet data, pppd) and
 manages it from the command line; cellsim is a simulated modem to try it
 and to test hosts against.")

include(CPack)

# ----- tests --------------------------------------------------------------
if(CELLCTL_TESTS AND TARGET cellctl_completion)
    if(DEFINED CELLCTL_MAN_DIR)
        add_test(NAME man_pages
            COMMAND ${PROJECT_SOURCE_DIR}/tests/install/man.sh ${CELLCTL_MAN_DIR}
                    $<TARGET_FILE:cellctl_completion> $<TARGET_FILE:cellsim>)
    endif()
    add_test(NAME bash_completion
        COMMAND ${PROJECT_SOURCE_DIR}/tests/install/completion.sh ${CELLCTL_BASH_COMPLETION})
    if(NOT CELLCTL_SANITIZE)
        add_test(NAME deb_packages
            COMMAND ${PROJECT_SOURCE_DIR}/tests/install/deb.sh ${PROJECT_BINARY_DIR}
                    ${PROJECT_BINARY_DIR}/tests/deb-check)
    endif()
endif()
