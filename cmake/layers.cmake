# The layers of src/, each a library that sees only its own headers and those of the layers it
# links. A layer's include root holds a link to its own folder alone, so an include that climbs
# to a layer above finds no file and fails to build.
#
#   morvane_layer(<target> <folder> SOURCES <files...> [LINKS <lower layers...>])
#
# Where the platform cannot make a symbolic link (Windows without the right to), the whole src/
# folder becomes the include root: the build works, only the check is lost.
function(morvane_layer target folder)
  cmake_parse_arguments(LAYER "" "" "SOURCES;LINKS" ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC RESULT failed)
    if(failed)
      message(WARNING "no symbolic link for ${folder} (${failed}): layers are not checked")
      set_property(GLOBAL PROPERTY MORVANE_LAYERS_UNCHECKED ON)
      set(root ${PROJECT_SOURCE_DIR}/src)
    endif()
  endif()
  add_library(${target} STATIC ${LAYER_SOURCES})
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${LAYER_LINKS} PRIVATE morvane_warnings)
endfunction()

# A file of one line, `#include "<header>"`, compiled with what layer <layer> sees, built only
# by the layer_check test (cmake/layer_check.cmake): it expects <expect> (FAILS, for want of the
# header, or BUILDS).
#
#   morvane_layer_probe(<name> <layer> <header> FAILS|BUILDS)
function(morvane_layer_probe name layer header expect)
  set(source ${PROJECT_BINARY_DIR}/layer-probes/${name}.cpp)
  file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n")
  add_library(layer_probe_${name} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(layer_probe_${name} PRIVATE ${layer})
  set_property(GLOBAL APPEND PROPERTY MORVANE_LAYER_PROBES "${name}:${expect}:${header}")
endfunction()

# The test that builds every probe.
function(morvane_layer_check_test)
  get_property(unchecked GLOBAL PROPERTY MORVANE_LAYERS_UNCHECKED)
  get_property(probes GLOBAL PROPERTY MORVANE_LAYER_PROBES)
  if(unchecked OR NOT probes)
    return()
  endif()
  string(REPLACE ";" "," probes "${probes}")
  add_test(NAME layer_check
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DPROBES=${probes}
                   -P ${PROJECT_SOURCE_DIR}/cmake/layer_check.cmake)
  # Two builds in one folder at once would trip over each other.
  set_tests_properties(layer_check PROPERTIES RESOURCE_LOCK build_folder)
endfunction()
