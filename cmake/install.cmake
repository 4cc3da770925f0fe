# What `cmake --install` puts where. On Linux and other Unix-like systems: the game, its manual
# pages (English and Chinese), the bash, zsh and fish completions, a desktop entry for the games
# menu with its icon, the AppStream metainfo, and the player's README, the licence and the
# third-party notices, each in its usual folder under the prefix. On Windows: morvane.exe with
# the README, the licence and the notices side by side, as the .zip holds them.
# The README installed is the player's (doc/README.player.md), not the developers'.
if(WIN32)
  install(TARGETS morvane RUNTIME DESTINATION .)
  install(FILES doc/README.player.md DESTINATION . RENAME README.txt)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
  install(FILES THIRD-PARTY-NOTICES DESTINATION . RENAME THIRD-PARTY-NOTICES.txt)
  return()
endif()

include(GNUInstallDirs)
configure_file(doc/morvane.6.in doc/morvane.6 @ONLY)
configure_file(doc/morvane.zh_CN.6.in doc/zh_CN/morvane.6 @ONLY)

install(TARGETS morvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/doc/morvane.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_BINARY_DIR}/doc/zh_CN/morvane.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/zh_CN/man6)
install(FILES completions/morvane.bash
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions RENAME morvane)
install(FILES completions/_morvane DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/zsh/vendor-completions)
install(FILES completions/morvane.fish
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/fish/vendor_completions.d)
install(FILES packaging/morvane.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES packaging/morvane.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
# AppStream wants a reverse-DNS identifier; the project has no domain of its own, so it takes the
# form used for such projects.
set(MORVANE_APPSTREAM_ID io.github.morvane.morvane)
configure_file(packaging/morvane.metainfo.xml.in
               packaging/${MORVANE_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${MORVANE_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES doc/README.player.md DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME README.md)
install(FILES LICENSE THIRD-PARTY-NOTICES DESTINATION ${CMAKE_INSTALL_DOCDIR})

# `cmake --build BUILD --target uninstall` removes what the last `cmake --install` of BUILD
# installed, as listed in its install_manifest.txt.
add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
          -P ${PROJECT_SOURCE_DIR}/cmake/uninstall.cmake
  COMMENT "Removing the installed files listed in install_manifest.txt")

# The manual pages and the three completions must know every option the program offers, and
# the pages render in any locale.
if(MORVANE_BUILD_TESTS)
  add_test(NAME documented_options
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/documented_options.sh
                   $<TARGET_FILE:morvane> ${PROJECT_SOURCE_DIR})
  add_test(NAME manual_pages
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/manual_pages.sh
                   ${PROJECT_BINARY_DIR}/doc/morvane.6 ${PROJECT_BINARY_DIR}/doc/zh_CN/morvane.6)
  set_tests_properties(manual_pages PROPERTIES SKIP_REGULAR_EXPRESSION "skipped")
endif()
