# nlohmann-json for the mingw-w64 cross build: its headers alone (see header_only.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/header_only.cmake)
morvane_header_only(nlohmann_json::nlohmann_json nlohmann json.hpp nlohmann-json3-dev)
