# CLI11 for the mingw-w64 cross build. CLI11 is header-only; Debian installs its headers in the
# host's /usr/include, which cannot be put on a Windows compiler's include path (its C library
# headers would shadow mingw-w64's). The headers are linked into a folder of their own instead.
if(TARGET CLI11::CLI11)
  return()
endif()
find_path(CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include /usr/local/include
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT CLI11_INCLUDE_DIR)
  set(CLI11_FOUND FALSE)
  set(CLI11_NOT_FOUND_MESSAGE "CLI/CLI.hpp not found (Debian package libcli11-dev)")
  return()
endif()
set(_cli11_only "${CMAKE_BINARY_DIR}/cli11-include")
file(MAKE_DIRECTORY "${_cli11_only}")
file(CREATE_LINK "${CLI11_INCLUDE_DIR}/CLI" "${_cli11_only}/CLI" COPY_ON_ERROR SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${_cli11_only}")
unset(_cli11_only)
