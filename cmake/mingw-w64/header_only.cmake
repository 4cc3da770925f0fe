# Header-only libraries for the mingw-w64 cross build. Debian installs their headers in the
# host's /usr/include, which cannot be put on a Windows compiler's include path (its C library
# headers would shadow mingw-w64's). Each library's folder is linked into a folder of its own
# instead, and an imported target points there.
#   morvane_header_only(<target> <folder> <header inside folder> <Debian package>)
# sets <prefix>_FOUND and the not-found message of the calling package file.
macro(morvane_header_only target folder header package)
  if(NOT TARGET ${target})
    find_path(_morvane_root ${folder}/${header} PATHS /usr/include /usr/local/include
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT _morvane_root)
      set(${CMAKE_FIND_PACKAGE_NAME}_FOUND FALSE)
      set(${CMAKE_FIND_PACKAGE_NAME}_NOT_FOUND_MESSAGE
          "${folder}/${header} not found (Debian package ${package})")
    else()
      set(_morvane_only "${CMAKE_BINARY_DIR}/${folder}-include")
      file(MAKE_DIRECTORY "${_morvane_only}")
      file(CREATE_LINK "${_morvane_root}/${folder}" "${_morvane_only}/${folder}" COPY_ON_ERROR
           SYMBOLIC)
      add_library(${target} INTERFACE IMPORTED)
      set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${_morvane_only}")
    endif()
    unset(_morvane_root CACHE)
    unset(_morvane_only)
  endif()
endmacro()
