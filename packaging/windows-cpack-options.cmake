# Read by cpack once per generator (CPACK_PROJECT_CONFIG_FILE): the installer and the zip get
# names of their own, zolm-<version>-win64-setup.exe and zolm-<version>-win64.zip.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "zolm-${CPACK_PACKAGE_VERSION}-win64-setup")
else()
  set(CPACK_PACKAGE_FILE_NAME "zolm-${CPACK_PACKAGE_VERSION}-win64")
endif()
