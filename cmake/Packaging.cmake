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
# No separate debug symbols: the default preset builds without debug information, and the
# dbgsym package of CMake 3.25's DEB generator lists build-folder paths in its md5sums.
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

# Man pages and the changelog are installed compressed, as Debian keeps them.
set(VARNEL_COMPRESSED_DIR ${CMAKE_BINARY_DIR}/compressed)
set(VARNEL_COMPRESSED_FILES)
function(varnel_install_compressed source destination)
    get_filename_component(name ${source} NAME)
    set(copy ${VARNEL_COMPRESSED_DIR}/${destination}/${name})
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
        COMMAND gzip -9nf ${copy}
        DEPENDS ${source}
        VERBATIM)
    set(VARNEL_COMPRESSED_FILES ${VARNEL_COMPRESSED_FILES} ${copy}.gz PARENT_SCOPE)
    install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()

set(VARNEL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/varnel)
set(VARNEL_MAN_DIR ${CMAKE_INSTALL_MANDIR}/man1)
varnel_install_compressed(${PROJECT_SOURCE_DIR}/packaging/changelog ${VARNEL_DOC_DIR})
varnel_install_compressed(${PROJECT_SOURCE_DIR}/man/varnelctl.1 ${VARNEL_MAN_DIR})
varnel_install_compressed(${PROJECT_SOURCE_DIR}/man/varnel-sensor-sim.1 ${VARNEL_MAN_DIR})
if(VARNEL_BUILD_GUI)
    varnel_install_compressed(${PROJECT_SOURCE_DIR}/man/varnel.1 ${VARNEL_MAN_DIR})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/com.example.varnel.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
add_custom_target(compressed_docs ALL DEPENDS ${VARNEL_COMPRESSED_FILES})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${VARNEL_DOC_DIR})
# bash-completion looks here under every folder of XDG_DATA_DIRS, /usr/local/share too.
install(FILES ${PROJECT_SOURCE_DIR}/share/bash-completion/completions/varnelctl
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

include(CPack)
