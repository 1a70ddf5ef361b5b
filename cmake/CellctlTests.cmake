# One GoogleTest executable per folder of tests/, linked with the given libraries.
function(cellctl_test_dir name)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE cellctl_test_support ${T_LIBS} GTest::gmock GTest::gtest_main
                                                cellctl_warnings)
    add_test(NAME ${name} COMMAND test_${name})
endfunction()
