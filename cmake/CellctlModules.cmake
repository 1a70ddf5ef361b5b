# A module is one folder of lib/: its sources become a static, position-independent
# library cellctl_<name>. Tests link modules directly (internal classes included);
# the shared libcellctl takes every module whole.
set_property(GLOBAL PROPERTY CELLCTL_MODULES "")

function(cellctl_module name)
    cmake_parse_arguments(M "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.h)
    if(NOT sources)
        return()
    endif()
    add_library(cellctl_${name} STATIC ${sources} ${headers})
    target_include_directories(cellctl_${name} PUBLIC $<BUILD_INTERFACE:${CELLCTL_INCLUDE_ROOT}>)
    target_compile_definitions(cellctl_${name} PRIVATE CELLCTL_BUILDING)
    target_link_libraries(cellctl_${name} PUBLIC Boost::headers)
    foreach(dep ${M_DEPS})
        target_link_libraries(cellctl_${name} PUBLIC cellctl_${dep})
    endforeach()
    set_property(GLOBAL APPEND PROPERTY CELLCTL_MODULES cellctl_${name})
endfunction()

# One GoogleTest executable per folder of tests/, linked with the given libraries.
function(cellctl_test_dir name)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(test_${name} ${sources})
    target_link_libraries(test_${name} PRIVATE cellctl_test_support ${T_LIBS} GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND test_${name})
endfunction()
