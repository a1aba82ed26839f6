include(GoogleTest)

# valdora_add_test(<name> SOURCES <files...> LIBS <targets...> [FIXTURES <fixtures...>])
# One GoogleTest executable, discovered into CTest. The test main pins the environment (headless
# platform, time zone, locale): a list-valued ENVIRONMENT does not survive test discovery. FIXTURES
# names CTest fixtures its tests need (test_server: the throwaway PostgreSQL server).
function(valdora_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;FIXTURES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} valdora::testsupport GTest::gtest)
  set(fixtures)
  if(ARG_FIXTURES)
    set(fixtures FIXTURES_REQUIRED "${ARG_FIXTURES}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 300 ${fixtures})
endfunction()
