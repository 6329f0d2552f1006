# What `cmake --install` puts under the prefix, in the GNU directories: both programs,
# the desktop entry, the application icon, the AppStream metainfo, the manual pages and
# the bash completion of the batch tool.
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
install(FILES ${MIRADO_DATA_DIR}/man/mirado.1 ${MIRADO_DATA_DIR}/man/mirado-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MIRADO_DATA_DIR}/bash-completion/mirado-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
