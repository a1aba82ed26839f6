# Tests of the running host: a real headless ContactHost.exe driven through the client and its
# command line, the protocol and trigger texts, and the window under the offscreen platform.
if(TARGET valdora_hostapp AND TARGET ContactHost.exe)
  add_executable(TriggerProbe ${CMAKE_CURRENT_LIST_DIR}/TriggerProbe.cpp)
  target_link_libraries(TriggerProbe PRIVATE Qt6::Core)
  valdora_add_test(host_running_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/RunningHostTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RunningHostFixture.cpp
            ${CMAKE_CURRENT_LIST_DIR}/HostProtocolTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ContactWindowTest.cpp
    LIBS valdora_hostapp valdora::host Qt6::Test)
  target_compile_definitions(host_running_tests PRIVATE
    CONTACT_HOST_PROGRAM="$<TARGET_FILE:ContactHost.exe>" TRIGGER_PROBE_PROGRAM="$<TARGET_FILE:TriggerProbe>")
  add_dependencies(host_running_tests ContactHost.exe TriggerProbe)
endif()
