# The running host: its application state, local server, window and the commands that talk to it.
valdora_add_library(hostapp
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/AuxCommandStore.cpp
          ${CMAKE_CURRENT_LIST_DIR}/ContactWindow.cpp
          ${CMAKE_CURRENT_LIST_DIR}/FieldDefinitionDialog.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HostApplication.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HostProgram.cpp
          ${CMAKE_CURRENT_LIST_DIR}/HostServer.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LookupDialog.cpp
          ${CMAKE_CURRENT_LIST_DIR}/RunningHostCommands.cpp
          ${CMAKE_CURRENT_LIST_DIR}/TriggerCommand.cpp
  PUBLIC valdora::hostembedded valdora::hostserver valdora::hostclient valdora::settings valdora::platform_qt Qt6::Widgets
  PRIVATE valdora::programicons)
