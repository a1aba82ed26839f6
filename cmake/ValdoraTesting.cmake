include(GoogleTest)

# valdora_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, discovered into CTest with a pinned, headless environment.
function(valdora_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} valdora::testsupport GTest::gtest)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES
      TIMEOUT 300
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=UTC;VALDORA_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()
