include(CMakePackageConfigHelpers)

# Public headers keep their folder under include/cellctl/.
file(GLOB_RECURSE all_headers RELATIVE ${PROJECT_SOURCE_DIR}/lib CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/lib/*.h)
foreach(header ${all_headers})
    if(NOT header IN_LIST CELLCTL_INTERNAL_HEADERS)
        get_filename_component(dir ${header} DIRECTORY)
        install(FILES lib/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/cellctl/${dir})
    endif()
endforeach()

set(CELLCTL_EXPORTED_TARGETS cellctl)
if(TARGET cellctl_at)
    list(APPEND CELLCTL_EXPORTED_TARGETS cellctl_at)
endif()
install(TARGETS ${CELLCTL_EXPORTED_TARGETS} EXPORT cellctlTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT cellctlTargets NAMESPACE cellctl:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/cellctl)

configure_package_config_file(cmake/cellctlConfig.cmake.in
    ${PROJECT_BINARY_DIR}/cellctlConfig.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/cellctl)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/cellctlConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/cellctlConfig.cmake ${PROJECT_BINARY_DIR}/cellctlConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/cellctl)

# pkg-config files: one per installed library, generated at install time for the real prefix.
foreach(pc cellctl cellctl-at)
    if(EXISTS ${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in AND (pc STREQUAL "cellctl" OR TARGET cellctl_at))
        install(CODE "
            set(PROJECT_VERSION \"${PROJECT_VERSION}\")
            set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
            set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
            set(PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
            configure_file(\"${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in\" \"${PROJECT_BINARY_DIR}/${pc}.pc\" @ONLY)
            file(INSTALL \"${PROJECT_BINARY_DIR}/${pc}.pc\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
        ")
    endif()
endforeach()
