# CLI11 for the mingw-w64 cross build: its headers alone (see header_only.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/header_only.cmake)
morvane_header_only(CLI11::CLI11 CLI CLI.hpp libcli11-dev)
