# Installation into the usual Unix tree and a Debian package built by CPack.
include(GNUInstallDirs)

install(TARGETS pelmora-cli pelmora-rate RUNTIME DESTINATION ${PELMORA_BIN_DIR})
if(TARGET pelmora-charts)
  # Found by pelmora-cli at PELMORA_MODULE_DIR_FROM_BIN from its own folder.
  install(TARGETS pelmora-charts LIBRARY DESTINATION ${PELMORA_MODULE_DIR})
endif()
file(GLOB PELMORA_SAMPLE_SIDES ${PROJECT_SOURCE_DIR}/samples/*.xi ${PROJECT_SOURCE_DIR}/samples/*.json)
install(FILES ${PELMORA_SAMPLE_SIDES} DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmora/samples)

# The licence and the changelog where Debian looks for them.
set(PELMORA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pelmora)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/debian/changelog > ${CMAKE_BINARY_DIR}/doc/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/debian/changelog
  VERBATIM)
add_custom_target(pelmora_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog.gz)
install(FILES docs/debian/copyright ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${PELMORA_DOC_DIR})

# Debian keeps man pages compressed; -n leaves the time out, so the package is reproducible.
set(PELMORA_MAN_PAGES pelmora-cli pelmora-rate)
if(TARGET pelmora)
  list(APPEND PELMORA_MAN_PAGES pelmora)
endif()
foreach(page IN LISTS PELMORA_MAN_PAGES)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.6.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/man/${page}.6 > ${CMAKE_BINARY_DIR}/man/${page}.6.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}.6
    VERBATIM)
  list(APPEND PELMORA_MAN_GZ ${CMAKE_BINARY_DIR}/man/${page}.6.gz)
endforeach()
add_custom_target(pelmora_man ALL DEPENDS ${PELMORA_MAN_GZ})
install(FILES ${PELMORA_MAN_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

if(TARGET pelmora)
  install(TARGETS pelmora RUNTIME DESTINATION ${PELMORA_BIN_DIR})
  install(FILES data/${PELMORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/${PELMORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(PELMORA_ICONS ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  foreach(size 16 32)
    install(FILES ui/resources/pelmora_${size}.png DESTINATION ${PELMORA_ICONS}/${size}x${size}/apps
            RENAME ${PELMORA_APP_ID}.png)
  endforeach()
  foreach(size 24 48 64 128 256 512)
    install(FILES data/icons/pelmora_${size}.png DESTINATION ${PELMORA_ICONS}/${size}x${size}/apps
            RENAME ${PELMORA_APP_ID}.png)
  endforeach()
  install(FILES data/icons/pelmora.svg DESTINATION ${PELMORA_ICONS}/scalable/apps RENAME ${PELMORA_APP_ID}.svg)
endif()

set(CPACK_PACKAGE_NAME pelmora)
set(CPACK_PACKAGE_VENDOR Pelmora)
set(CPACK_PACKAGE_CONTACT "Pelmora <pelmora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cricket match simulator, ball by ball")
set(CPACK_PACKAGE_DESCRIPTION "Pelmora plays one-day and Test cricket matches between two sides of eleven,
ball by ball, with a live scoreboard and commentary (pelmora), or unattended
in the console with reports, Cricsheet export, charts and batch statistics
(pelmora-cli), and rates real players from Cricsheet archives (pelmora-rate).
A seeded generator makes every match replayable.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/pelmora/)
# The library dependencies come from dpkg-shlibdeps; the scoreboard's font
# (Arial) is matched by Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
include(CPack)

# The install tree against cmake/install-manifest.txt, which .ci/run also
# compares with the .deb.
if(PELMORA_BUILD_TESTS AND TARGET pelmora)
  add_test(NAME install_tree
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DMANIFEST=${PROJECT_SOURCE_DIR}/cmake/install-manifest.txt
            -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/CheckInstall.cmake)
endif()
