# The Debian package: `cpack -G DEB` in the build folder. Its dependencies are read off the shared
# libraries the programs link (dpkg-shlibdeps), its files are laid out under /usr as installed.
set(PIGMENTARIA_MAINTAINER "The Pigmentaria developers <maintainers@pigmentaria.invalid>"
    CACHE STRING "The Debian package's maintainer, as \"Name <address>\"")
# The date of the newest entry in the package's changelog, in the form dpkg wants.
set(PIGMENTARIA_RELEASE_DATE "Tue, 08 Dec 2026 12:00:00 +0000")
set(PIGMENTARIA_DEB_REVISION 1)
set(PIGMENTARIA_DEB_VERSION ${PROJECT_VERSION}-${PIGMENTARIA_DEB_REVISION})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pigmentaria)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${PIGMENTARIA_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn a photo into a paint-by-number template")
set(CPACK_PACKAGE_DESCRIPTION
    "Pigmentaria turns a photo into a painting: the picture's colours are reduced,\n"
    "specks removed, and every region of one colour is traced into a flat-coloured\n"
    "polygon. The painting can be edited, numbered and printed as a paint-by-number\n"
    "template across a grid of pages, or exported as a picture or a drawing.\n"
    "\n"
    "The package holds the desktop program and the pigmentaria-cli command line.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PIGMENTARIA_DEB_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PIGMENTARIA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(PIGMENTARIA_GUI)
    # The windows need a platform plug-in, which the programs load rather than link; printing
    # asks for fonts that "Arial" resolves to, and Qt's own dialogs read German from its catalogues.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
