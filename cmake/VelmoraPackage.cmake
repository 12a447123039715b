# The Debian package: `cpack -G DEB` in the build folder after the build.
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora Analysis")
set(CPACK_PACKAGE_CONTACT "Velmora Analysis developers <developers@velmora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Social Security claiming comparison for retirement advisors")
set(CPACK_PACKAGE_DESCRIPTION
  "Velmora Analysis compares two ways of claiming US Social Security retirement
benefits, an earlier start with a smaller monthly benefit or a later start with
a larger one, builds a year-by-year table of benefits and present values and
names the break-even year. The package holds the window program velmora and
the command-line companion velmora-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Runtime dependencies come from the libraries the binaries load (dpkg-shlibdeps), and
# Qt's SVG plugins, which no binary links: the desktop's theme icons in the print preview
# are often SVG.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# The window and the report are laid out for Arial's metrics, which Liberation Sans shares.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")

include(CPack)
