include(GoogleTest)

# Under the sanitizers a test program takes about a third of a second to start, which over some three
# thousand cases is most of the run's time; such a build registers each program as one CTest test.
option(VALDORA_TEST_PER_PROGRAM "One CTest test per test program instead of one per case" OFF)

# valdora_add_test(<name> SOURCES <files...> LIBS <targets...> [FIXTURES <fixtures...>])
# One GoogleTest executable, discovered into CTest case by case (or added whole, see above). The test
# main pins the environment (headless platform, time zone, locale): a list-valued ENVIRONMENT does not
# survive test discovery. FIXTURES names CTest fixtures its tests need (test_server: the throwaway
# PostgreSQL server).
function(valdora_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;FIXTURES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} valdora::testsupport GTest::gtest)
  set(fixtures)
  if(ARG_FIXTURES)
    set(fixtures FIXTURES_REQUIRED "${ARG_FIXTURES}")
  endif()
  if(VALDORA_TEST_PER_PROGRAM)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 1800 ${fixtures})
  else()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT 300 ${fixtures})
  endif()
endfunction()
