# The Debian package, built by CPack from the install rules (scripts/package). Its
# library dependencies are computed by dpkg-shlibdeps from the installed programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirado)
set(CPACK_PACKAGE_VENDOR "The Mirado developers")
# The maintainer named in the package; a packager sets the real address.
set(MIRADO_PACKAGE_MAINTAINER "The Mirado developers <developers@mirado.invalid>"
    CACHE STRING "Maintainer of the Debian package: name <address>")
set(CPACK_PACKAGE_CONTACT "${MIRADO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MIRADO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "viewer and light editor for tail-cuff blood-pressure recordings")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Mirado shows tail-cuff blood-pressure recordings of laboratory animals with\n"
  "their pulse and cuff-pressure waveforms, determines the pressures from the\n"
  "waveforms, lets the pressure markers and identification texts be edited,\n"
  "prints the recordings and exports their results as comma-separated text.\n"
  "The batch tool mirado-cli reads, exports, renders and generates recordings\n"
  "without a display. The Python package mirado reads recordings into numpy\n"
  "arrays and pandas DataFrames.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The font families the panes and printed pages are drawn in (Japanese texts, numbers),
# and what loads the batch tool's completion.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, fonts-liberation, bash-completion")
# The Python package's module is built for one Python version; numpy gives the channels,
# pandas the tables.
if(TARGET _mirado)
  math(EXPR MIRADO_PYTHON_NEXT_MINOR "${Python3_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}~), python3 (<< ${Python3_VERSION_MAJOR}.${MIRADO_PYTHON_NEXT_MINOR})")
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", python3-numpy")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-pandas")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
