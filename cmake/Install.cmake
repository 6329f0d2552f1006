# What `cmake --install` puts under the prefix, in the GNU directories: both programs,
# the desktop entry, the application icon, the AppStream metainfo, the manual pages
# (compressed, as Debian's policy asks), the bash completion of the batch tool and the
# copyright file in Debian's format.
include(GNUInstallDirs)

set(MIRADO_APP_ID org.mirado.Mirado)
set(MIRADO_DATA_DIR ${PROJECT_SOURCE_DIR}/data)

install(TARGETS mirado mirado-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MIRADO_DATA_DIR}/${MIRADO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/icons/mirado.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${MIRADO_APP_ID}.svg)
install(FILES ${MIRADO_DATA_DIR}/${MIRADO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# gzip -n keeps no name or time stamp, so the compressed pages are the same at every build.
set(MIRADO_MANUAL_PAGES)
foreach(page mirado.1 mirado-cli.1)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
                     COMMAND gzip -9 -n -c ${MIRADO_DATA_DIR}/man/${page} > ${compressed}
                     DEPENDS ${MIRADO_DATA_DIR}/man/${page} VERBATIM)
  list(APPEND MIRADO_MANUAL_PAGES ${compressed})
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${MIRADO_MANUAL_PAGES})
install(FILES ${MIRADO_MANUAL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MIRADO_DATA_DIR}/bash-completion/mirado-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${MIRADO_DATA_DIR}/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/mirado)
