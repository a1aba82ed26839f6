# valdora_add_library(<name> SOURCES <files...> [PUBLIC <targets...>] [PRIVATE <targets...>])
# One library of the suite: the target valdora_<name> with its alias valdora::<name>, which is the
# name every other target links it by (a mistyped alias fails at configure, a plain name would not).
# Its headers are included from the repository root ("settings/IniLib.h").
# A library whose sources are all headers (or templates of headers, ".h.in") is an INTERFACE library:
# it compiles nothing of its own, and what it links is passed on to its users (PUBLIC); PRIVATE has
# no meaning for it and is refused.
function(valdora_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  set(compiled ${ARG_SOURCES})
  list(FILTER compiled EXCLUDE REGEX "\\.h(\\.in)?$")
  if(compiled)
    add_library(valdora_${name} STATIC ${ARG_SOURCES})
    target_include_directories(valdora_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(valdora_${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  else()
    if(ARG_PRIVATE)
      message(FATAL_ERROR "valdora_add_library(${name}): a library of headers only links nothing PRIVATE")
    endif()
    add_library(valdora_${name} INTERFACE ${ARG_SOURCES})
    target_include_directories(valdora_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(valdora_${name} INTERFACE ${ARG_PUBLIC})
  endif()
  add_library(valdora::${name} ALIAS valdora_${name})
endfunction()
