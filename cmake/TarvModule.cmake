# tarv_module(<target> <folder> [DEPENDS <targets>...])
#
# One static library per module under Sources/<folder>. Sources are globbed
# (re-checked at build time), so adding a file needs no CMake edit. A module
# with no .cpp yet is an INTERFACE library so that its headers can be used.
function(tarv_module target folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${PROJECT_SOURCE_DIR}/Sources/${folder}/*.cpp")
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/Sources")
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${PROJECT_SOURCE_DIR}/Sources")
    target_link_libraries(${target} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# tarv_link(<target> <libs>...) links third-party libraries privately: their
# include paths and compile flags stay with the module that uses them (its
# .cpp files include them, never its headers), while the static library
# still carries them to whatever finally links it. A module with no .cpp yet
# (an INTERFACE library) can only pass them on.
function(tarv_link target)
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${target} INTERFACE ${ARGN})
  else()
    target_link_libraries(${target} PRIVATE ${ARGN})
  endif()
endfunction()
