# Installation and the Debian package: zolm, zolm-cli and zolm-probe-sim, the desktop entry
# with its icon and the survey document's file type.
include(GNUInstallDirs)

install(TARGETS zolm RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}) # zolm-cli and zolm-probe-sim: top level
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zolm.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zolm-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME zolm.xml)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/resources/zolm.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zolm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vexmoor")
set(CPACK_PACKAGE_CONTACT "ZOLM developers <zolm@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop companion of the ZOLM electronic borehole inclinometer")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads surveys from the probe over a serial port, shows them as a table, lets the field engineer enter depths and header fields, exports delimited text and prints the report. Includes zolm-cli for scripts and zolm-probe-sim, a virtual probe for tests and training.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zolm_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The window system plugins, the Simplified Chinese face of the table and report, and Qt's own
# Chinese texts for its dialogs and buttons; the libraries come from dpkg-shlibdeps (package
# dpkg-dev) when it is there.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei, qt6-translations-l10n")
find_program(ZOLM_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZOLM_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
         ", libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6serialport6 (>= 6.4)")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
