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
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC RESULT failed)
    if(failed)
      message(WARNING "no symbolic link for ${folder} (${failed}): layers are not checked")
      set(root ${CMAKE_SOURCE_DIR}/src)
    endif()
  endif()
  add_library(${target} STATIC ${LAYER_SOURCES})
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${LAYER_LINKS} PRIVATE morvane_warnings)
endfunction()
