# What `cmake --install` puts under the prefix, in the GNU directories: both programs,
# the desktop entry, the application icon, the AppStream metainfo, the manual pages
# (compressed, as Debian's policy asks), the bash completion of the batch tool, and the
# copyright file and the changelog in Debian's formats, and the Python package when it
# is built (python/).
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
# The manual pages and the package's changelog are installed compressed; gzip -n keeps
# no name or time stamp, so the compressed files are the same at every build.
set(MIRADO_COMPRESSED_DIR ${CMAKE_CURRENT_BINARY_DIR}/compressed)
set(MIRADO_MANUAL_PAGES ${MIRADO_COMPRESSED_DIR}/mirado.1.gz ${MIRADO_COMPRESSED_DIR}/mirado-cli.1.gz)
set(MIRADO_CHANGELOG ${MIRADO_COMPRESSED_DIR}/changelog.gz)
foreach(source man/mirado.1 man/mirado-cli.1 debian/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${MIRADO_COMPRESSED_DIR}/${name}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${MIRADO_COMPRESSED_DIR}
                     COMMAND gzip -9 -n -c ${MIRADO_DATA_DIR}/${source} > ${MIRADO_COMPRESSED_DIR}/${name}.gz
                     DEPENDS ${MIRADO_DATA_DIR}/${source} VERBATIM)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${MIRADO_MANUAL_PAGES} ${MIRADO_CHANGELOG})
install(FILES ${MIRADO_MANUAL_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MIRADO_DATA_DIR}/bash-completion/mirado-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${MIRADO_DATA_DIR}/debian/copyright ${MIRADO_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/mirado)
# The Python package, relative to the prefix as Debian's Python finds packages under
# /usr; another prefix takes <prefix>/lib/python3/dist-packages on PYTHONPATH.
if(TARGET _mirado)
  set(MIRADO_PYTHON_INSTALL_DIR lib/python3/dist-packages
      CACHE STRING "Where cmake --install puts the Python package, relative to the prefix")
  install(TARGETS _mirado LIBRARY DESTINATION ${MIRADO_PYTHON_INSTALL_DIR}/mirado)
  list(TRANSFORM MIRADO_PYTHON_FILES PREPEND ${MIRADO_PYTHON_PACKAGE_DIR}/
       OUTPUT_VARIABLE MIRADO_PYTHON_BUILT_FILES)
  install(FILES ${MIRADO_PYTHON_BUILT_FILES} DESTINATION ${MIRADO_PYTHON_INSTALL_DIR}/mirado)
endif()
