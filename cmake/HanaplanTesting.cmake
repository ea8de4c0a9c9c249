# Registers one QtTest executable with CTest. Every test runs on the offscreen
# platform with a UTF-8 locale and finds its data through HANAPLAN_TEST_DATA.
# ARGUMENTS go to the test program (test function names run only those).
#
# A Windows build runs its tests under Wine (CMAKE_CROSSCOMPILING_EMULATOR). Wine hands the
# program no QT_* variables, so the offscreen platform is set in the Wine prefix (scripts/windows-test);
# the Japanese locale gives Windows the code page 932 the program's ANSI calls use.
function(hanaplan_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBRARIES;DEPENDS;ARGUMENTS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBRARIES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_compile_definitions(${name} PRIVATE
    HANAPLAN_TEST_DATA="${PROJECT_BINARY_DIR}/testdata"
    HANAPLAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    HANAPLAN_BINARY_DIR="${PROJECT_BINARY_DIR}"
    SQLITE3_EXECUTABLE="${SQLITE3_EXECUTABLE}")
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} ${T_ARGUMENTS})
  if(WIN32)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=ja_JP.UTF-8;LANG=ja_JP.UTF-8" TIMEOUT 300)
  else()
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8" TIMEOUT 300)
  endif()
endfunction()
