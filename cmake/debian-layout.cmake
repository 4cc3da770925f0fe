# Run by CPack on the files it is about to package. For the .deb only, Debian's layout (the
# .tar.gz and `cmake --install` keep the plain one): a game's binary lives in /usr/games,
# manual pages, the changelog and documents over 4 kB are compressed with `gzip -9n`, and the
# package's licence is its copyright file, which replaces the LICENSE among the documents.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(root "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${root}/share/doc/morvane")

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "debian-layout: '${ARGV}' failed: ${status}")
  endif()
endfunction()

file(MAKE_DIRECTORY "${root}/games")
file(RENAME "${root}/bin/morvane" "${root}/games/morvane")
file(GLOB left "${root}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${root}/bin")
endif()
# What a plain strip leaves (dh_strip removes it too).
run("${CPACK_MORVANE_STRIP}" --remove-section=.comment --remove-section=.note
    "${root}/games/morvane")

file(GLOB_RECURSE pages "${root}/share/man/*.6")
foreach(page IN LISTS pages)
  run(gzip -9n "${page}")
endforeach()

file(REMOVE "${doc}/LICENSE")
file(COPY "${CPACK_MORVANE_DEBIAN_DIR}/changelog" DESTINATION "${doc}")
file(GLOB documents "${doc}/*")
foreach(document IN LISTS documents)
  file(SIZE "${document}" size)
  if(document MATCHES "/changelog$" OR size GREATER 4096)
    run(gzip -9n "${document}")
  endif()
endforeach()
file(COPY "${CPACK_MORVANE_DEBIAN_DIR}/copyright" DESTINATION "${doc}")
