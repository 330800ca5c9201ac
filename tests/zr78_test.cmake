# zr78_add_test(NAME name SOURCES ... LIBS ... [LABELS ...] [NO_MAIN])
# One GoogleTest executable per area; each TEST is a CTest test of its own.
# NO_MAIN: the sources bring their own main (for example a QApplication).
include(GoogleTest)

# Tests take named locks and local sockets of their own; they live in a
# runtime folder of the build tree instead of piling up in the temp folder.
set(ZR78_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${ZR78_TEST_RUNTIME_DIR})
file(CHMOD ${ZR78_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
function(zr78_add_test)
  cmake_parse_arguments(T "NO_MAIN" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest)
  if(NOT T_NO_MAIN)
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
  endif()
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "XDG_RUNTIME_DIR=${ZR78_TEST_RUNTIME_DIR}")
endfunction()
