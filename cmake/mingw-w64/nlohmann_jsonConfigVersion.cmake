# The stand-in takes whichever 3.x Debian installed; the host's own version file says which.
include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake OPTIONAL
        RESULT_VARIABLE _morvane_host_version)
if(NOT _morvane_host_version)
  set(PACKAGE_VERSION_UNSUITABLE TRUE)
endif()
unset(_morvane_host_version)
