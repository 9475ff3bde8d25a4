# The Debian package: cpack -G DEB in the build folder gives varnel_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnel)
set(CPACK_PACKAGE_VENDOR "Varnel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Configuration of magnetostrictive position sensors with SSI output")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Varnel finds a sensor behind a serial programming adapter, reads and edits\n"
    "its parameters, commits them to the sensor's EEPROM, saves and loads\n"
    "parameter files, prints reports, shows the live measurement, exports the\n"
    "linearization table and updates the firmware.\n"
    "\n"
    "The package holds the desktop program varnel, the command-line tool\n"
    "varnelctl and the simulated sensor varnel-sensor-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Varnel developers <varnel@example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (among them libqt6svg6, which also brings the SVG image and
# icon plugins) come from dpkg-shlibdeps; these are loaded at run time: the platform plugins and
# the font the pictures name, and the SQLite driver of the history.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, libqt6sql6-sqlite")
# Wayland sessions, and the German texts of the toolkit's file and print dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
# A history shared on a PostgreSQL server.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql")

include(CPack)
