# The packages, made by CPack through the presets (scripts/release builds them all):
#   cmake --workflow --preset deb               .deb, linked against Debian's shared C++ runtime
#   cmake --workflow --preset package           .tar.gz for any x86-64 Linux (C++ runtime linked in)
#   cmake --workflow --preset windows-package   .zip of morvane.exe with the README and licences
# The version is the project's, like --version's and the manual page's.
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "The Morvane authors")
# The address the project's commits are made under: the one the maintainers answer to. The
# .deb's Maintainer, its changelog and its copyright file's Upstream-Contact all take it.
set(MORVANE_MAINTAINER "Morvane maintainers <maintainers@users.noreply.c-seed-6bfd7090.example>")
set(CPACK_PACKAGE_CONTACT "${MORVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "battle of names in the terminal, in simplified Chinese")
# Debian shows the description as written: lines under 80 characters, and no double quotes,
# which CPack would copy into its configuration unescaped.
set(CPACK_PACKAGE_DESCRIPTION [[
Type your fighters' names in teams and watch them battle. Every name becomes a
fighter with random hit points, attack, defence, magic and an attribute that
gives it two skills; twelve fixed names become named characters with skills of
their own. The fighters battle by themselves while the game narrates every hit,
skill, status, summon and team call in colour, at a pace you can follow.

Four modes: the team match, the dark match, endless mode and the author
challenge. The game speaks simplified Chinese, in UTF-8 or GBK. A whole game
can also be piped in and out, and the simulate command plays many silent
games to give each team's chance of winning.]])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/doc/README.player.md)
set(CPACK_STRIP_FILES ON)

string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" MORVANE_PACKAGE_SYSTEM)
string(REPLACE "amd64" "x86_64" MORVANE_PACKAGE_SYSTEM "${MORVANE_PACKAGE_SYSTEM}")
set(CPACK_PACKAGE_FILE_NAME "morvane-${PROJECT_VERSION}-${MORVANE_PACKAGE_SYSTEM}")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
  # Debian's own layout, for the .deb only (see debian-layout.cmake).
  configure_file(packaging/debian/changelog.in packaging/debian/changelog @ONLY)
  configure_file(packaging/debian/copyright.in packaging/debian/copyright @ONLY)
  set(CPACK_MORVANE_DEBIAN_DIR ${PROJECT_BINARY_DIR}/packaging/debian)
  set(CPACK_MORVANE_STRIP ${CMAKE_STRIP})
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian-layout.cmake)
endif()

include(CPack)
