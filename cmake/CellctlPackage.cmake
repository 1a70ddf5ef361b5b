include(CMakePackageConfigHelpers)

# include/ is the public interface, installed as it stands.
install(DIRECTORY include/cellctl DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(TARGETS cellctl cellctl_at EXPORT cellctlTargets
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
    install(CODE "
        set(PROJECT_VERSION \"${PROJECT_VERSION}\")
        set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
        set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
        set(PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
        configure_file(\"${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in\" \"${PROJECT_BINARY_DIR}/${pc}.pc\" @ONLY)
        file(INSTALL \"${PROJECT_BINARY_DIR}/${pc}.pc\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig\")
    ")
endforeach()
