# valdora_add_library(<name> SOURCES <files...> [PUBLIC <targets...>] [PRIVATE <targets...>])
# One static library of the suite: the target valdora_<name> with its alias valdora::<name>, which is
# the name every other target links it by (a mistyped alias fails at configure, a plain name would
# not). Its headers are included from the repository root ("settings/IniLib.h").
function(valdora_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(valdora_${name} STATIC ${ARG_SOURCES})
  add_library(valdora::${name} ALIAS valdora_${name})
  target_include_directories(valdora_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(valdora_${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()
