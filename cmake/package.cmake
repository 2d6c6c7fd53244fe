# The Debian package, made by `make package` (cpack -G DEB in the Release build):
# tattilo_VERSION_ARCH.deb, installing into /usr. Its dependencies are read from the programs'
# shared libraries (dpkg-shlibdeps, from dpkg-dev), plus what they load at run time: Qt's
# platform plugins, and espeak-ng with its voice data.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tattilo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "mathematics workbench for blind and partially sighted students")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})

set(TATTILO_PACKAGE_MAINTAINER "Tattilo developers <tattilo@localhost>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TATTILO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libespeak-ng1, espeak-ng-data")
if(TATTILO_GUI)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins")
  # The toolkit's own dialogs in Italian, and a font for the program's texts.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core")
endif()
# The summary above is its first line; a blank line starts a paragraph.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tattilo is a mathematics workbench with an Italian user interface. A student
writes mathematics in two linear notations that hold the same content: a
LaTeX-like ASCII notation and six-dot Braille stored as ASCII braille cells.
Every key, line and formula can be read aloud in Italian through espeak-ng.

The package holds the workbench (tattilo), its notation engine and spoken
rendering on the command line (tattilo-cli) and the installer of its
distributions (instello, unattended into a sandbox folder).")

include(CPack)
