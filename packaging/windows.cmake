# The Windows build: the version resource and icon of zolm.exe and zolm-cli.exe, a flat
# installation folder holding everything the two load (Qt, its plugins and translations, the
# MinGW runtime), and CPack's per-user NSIS installer and zip of that folder.
#
# Everything is installed as component "windows", and cpack packs only that component, so the
# Unix layout's rules elsewhere (bin/...) never reach the Windows packages.
enable_language(RC)

set(ZOLM_WINDOWS_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ZOLM_WINDOWS_BINARY_DIR ${PROJECT_BINARY_DIR}/packaging)
set(ZOLM_WINDOWS_COMPONENT windows)
file(MAKE_DIRECTORY ${ZOLM_WINDOWS_BINARY_DIR})

# --- Icon and version resource --------------------------------------------------------------

# One multi-size icon from the desktop program's own picture, so the two never differ.
find_program(ZOLM_IMAGEMAGICK NAMES convert magick)
if(NOT ZOLM_IMAGEMAGICK)
  message(FATAL_ERROR "The Windows icon is made with ImageMagick: apt-get install imagemagick")
endif()
set(ZOLM_WINDOWS_ICON ${ZOLM_WINDOWS_BINARY_DIR}/zolm.ico)
set(ZOLM_PICTURE ${PROJECT_SOURCE_DIR}/src/app/resources/zolm.png)
add_custom_command(OUTPUT ${ZOLM_WINDOWS_ICON}
  COMMAND ${ZOLM_IMAGEMAGICK} ${ZOLM_PICTURE} -depth 8 -define icon:auto-resize=256,64,48,32,16
          ${ZOLM_WINDOWS_ICON}
  DEPENDS ${ZOLM_PICTURE}
  COMMENT "Making the Windows icon zolm.ico"
  VERBATIM)
# Both programs' resources need the icon; one target makes it once for both.
add_custom_target(zolm_windows_icon DEPENDS ${ZOLM_WINDOWS_ICON})

# VERSIONINFO wants four numbers; the missing ones of PROJECT_VERSION are 0.
set(ZOLM_RC_VERSION_PARTS)
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND ZOLM_RC_VERSION_PARTS 0)
  else()
    list(APPEND ZOLM_RC_VERSION_PARTS ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN ZOLM_RC_VERSION_PARTS "," ZOLM_RC_VERSION_COMMAS)

function(zolm_windows_resources target description)
  set(ZOLM_RC_FILE_NAME ${target}.exe)
  set(ZOLM_RC_INTERNAL_NAME ${target})
  set(ZOLM_RC_DESCRIPTION "${description}")
  set(ZOLM_RC_COMPANY "Vexmoor")
  set(ZOLM_RC_ICON ${ZOLM_WINDOWS_ICON})
  set(rc ${ZOLM_WINDOWS_BINARY_DIR}/${target}.rc)
  configure_file(${ZOLM_WINDOWS_SOURCE_DIR}/windows.rc.in ${rc} @ONLY)
  # A library of its own, so windres never sees the C++ compiler's options of the program
  # (-Wall and the like, which it refuses).
  add_library(${target}_windows_resources OBJECT ${rc})
  add_dependencies(${target}_windows_resources zolm_windows_icon)
  # windres reports no dependencies: a new icon must still rebuild the resource.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ZOLM_WINDOWS_ICON})
  target_link_libraries(${target} PRIVATE ${target}_windows_resources)
endfunction()

zolm_windows_resources(zolm "ZOLM 电子单多点测斜仪")
zolm_windows_resources(zolm-cli "ZOLM 命令行工具")

# --- Installation folder ----------------------------------------------------------------------

install(TARGETS zolm zolm-cli RUNTIME DESTINATION . COMPONENT ${ZOLM_WINDOWS_COMPONENT})

# Qt's prefix: from Qt's own package, else two levels above Qt6Core.dll (<prefix>/bin).
if(QT6_INSTALL_PREFIX)
  set(ZOLM_QT_PREFIX ${QT6_INSTALL_PREFIX})
else()
  get_target_property(ZOLM_QT_CORE_DLL Qt6::Core IMPORTED_LOCATION_RELEASE)
  get_filename_component(ZOLM_QT_PREFIX ${ZOLM_QT_CORE_DLL} DIRECTORY)
  get_filename_component(ZOLM_QT_PREFIX ${ZOLM_QT_PREFIX} DIRECTORY)
endif()
set(ZOLM_QT_PLUGIN_DIR ${ZOLM_QT_PREFIX}/plugins)
if(QT6_INSTALL_PLUGINS)
  set(ZOLM_QT_PLUGIN_DIR ${ZOLM_QT_PREFIX}/${QT6_INSTALL_PLUGINS})
endif()

# The Qt libraries the programs link; SerialPort only when this Qt has it as a DLL.
foreach(module Core Gui Widgets PrintSupport SerialPort)
  if(TARGET Qt6::${module})
    get_target_property(type Qt6::${module} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION . COMPONENT ${ZOLM_WINDOWS_COMPONENT})
      list(APPEND ZOLM_WINDOWS_DLLS $<TARGET_FILE_NAME:Qt6::${module}>)
    endif()
  endif()
endforeach()

# Plugins, as folder:Qt's target:file. The window system plugin is a must; the native style,
# the .ico reader and the printer plugin (Qt 6.4 prints from Qt6PrintSupport itself, without
# one) go along when this Qt has them.
set(ZOLM_QT_PLUGIN_FILES
  platforms:QWindowsIntegrationPlugin:qwindows
  styles:QWindowsVistaStylePlugin:qwindowsvistastyle
  printsupport:QWindowsPrinterSupportPlugin:windowsprintersupport
  imageformats:QICOPlugin:qico)
foreach(plugin IN LISTS ZOLM_QT_PLUGIN_FILES)
  string(REPLACE ":" ";" plugin "${plugin}")
  list(GET plugin 0 folder)
  list(GET plugin 1 qt_target)
  list(GET plugin 2 file)
  set(found "")
  if(TARGET Qt6::${qt_target})
    set(found $<TARGET_FILE:Qt6::${qt_target}>)
    set(name $<TARGET_FILE_NAME:Qt6::${qt_target}>)
  elseif(EXISTS ${ZOLM_QT_PLUGIN_DIR}/${folder}/${file}.dll)
    set(found ${ZOLM_QT_PLUGIN_DIR}/${folder}/${file}.dll)
    set(name ${file}.dll)
  elseif(folder STREQUAL "platforms")
    message(FATAL_ERROR "Qt in ${ZOLM_QT_PREFIX} has no Windows platform plugin (${file}.dll)")
  endif()
  if(found)
    install(FILES ${found} DESTINATION plugins/${folder} COMPONENT ${ZOLM_WINDOWS_COMPONENT})
    list(APPEND ZOLM_WINDOWS_DLLS plugins/${folder}/${name})
  endif()
endforeach()

# Where the installed programs find the plugins and translations: beside them, not in the
# folder Qt was built for.
file(WRITE ${ZOLM_WINDOWS_BINARY_DIR}/qt.conf "[Paths]\nPlugins = plugins\nTranslations = translations\n")
install(FILES ${ZOLM_WINDOWS_BINARY_DIR}/qt.conf DESTINATION . COMPONENT ${ZOLM_WINDOWS_COMPONENT})

# Qt's own Simplified Chinese texts (dialog buttons, print dialog): platform independent, so
# the Windows Qt's if it has them, else the build machine's (Debian: qt6-translations-l10n).
set(ZOLM_QT_TRANSLATIONS qtbase_zh_CN)
if(TARGET Qt6::SerialPort)
  list(APPEND ZOLM_QT_TRANSLATIONS qtserialport_zh_CN)
endif()
foreach(catalog IN LISTS ZOLM_QT_TRANSLATIONS)
  find_file(ZOLM_QM_${catalog} ${catalog}.qm
    PATHS ${ZOLM_QT_PREFIX}/translations ${QT_HOST_PATH}/share/qt6/translations /usr/share/qt6/translations
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(ZOLM_QM_${catalog})
    install(FILES ${ZOLM_QM_${catalog}} DESTINATION translations COMPONENT ${ZOLM_WINDOWS_COMPONENT})
  else()
    message(WARNING "${catalog}.qm not found: the Windows packages go without it "
                    "(Debian: apt-get install qt6-translations-l10n)")
  endif()
endforeach()
if(ZOLM_TRANSLATION_FILES)
  install(FILES ${ZOLM_TRANSLATION_FILES} DESTINATION translations COMPONENT ${ZOLM_WINDOWS_COMPONENT})
endif()

# The MinGW runtime that the programs and Qt load, from the compiler's own library folders.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-search-dirs
  OUTPUT_VARIABLE ZOLM_MINGW_SEARCH_DIRS ERROR_QUIET)
string(REGEX MATCH "libraries: =([^\n]*)" ZOLM_MINGW_SEARCH_DIRS "${ZOLM_MINGW_SEARCH_DIRS}")
string(REPLACE ":" ";" ZOLM_MINGW_LIBRARY_DIRS "${CMAKE_MATCH_1}")
foreach(dll libstdc++-6 libgcc_s_seh-1 libwinpthread-1)
  string(MAKE_C_IDENTIFIER ${dll} name)
  find_file(ZOLM_MINGW_${name} ${dll}.dll
    HINTS ${ZOLM_MINGW_LIBRARY_DIRS} /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ZOLM_MINGW_${name})
    message(FATAL_ERROR "The MinGW runtime ${dll}.dll is not in ${ZOLM_MINGW_LIBRARY_DIRS}")
  endif()
  install(FILES ${ZOLM_MINGW_${name}} DESTINATION . COMPONENT ${ZOLM_WINDOWS_COMPONENT})
  list(APPEND ZOLM_WINDOWS_DLLS ${dll}.dll)
endforeach()

# The DLLs come with their symbols and debug sections (Debian's libstdc++ 23 MB, 2 MB without;
# Qt's a third smaller); the installed copies go without.
if(CMAKE_STRIP)
  install(CODE "
    foreach(dll ${ZOLM_WINDOWS_DLLS})
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${dll}\"
                      RESULT_VARIABLE stripped)
      if(NOT stripped EQUAL 0)
        message(FATAL_ERROR \"Cannot strip \${dll}\")
      endif()
    endforeach()" COMPONENT ${ZOLM_WINDOWS_COMPONENT})
endif()

# --- Packages ---------------------------------------------------------------------------------

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME zolm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vexmoor")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop companion of the ZOLM electronic borehole inclinometer")
# Per generator: zolm-<version>-win64-setup.exe and zolm-<version>-win64.zip.
set(CPACK_PROJECT_CONFIG_FILE ${ZOLM_WINDOWS_SOURCE_DIR}/windows-cpack-options.cmake)
set(CPACK_PACKAGE_FILE_NAME zolm-${PROJECT_VERSION}-win64)
set(CPACK_INSTALL_CMAKE_PROJECTS ${PROJECT_BINARY_DIR} ${PROJECT_NAME} ${ZOLM_WINDOWS_COMPONENT} /)
# Values reach the NSIS script exactly as written here (one backslash is one backslash).
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY ZOLM)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ZOLM)
set(CPACK_PACKAGE_EXECUTABLES zolm "ZOLM 电子单多点测斜仪")

# The installer: our copy of CMake's template installs for the current user only, no
# administrator rights, into %LOCALAPPDATA%\Programs\ZOLM.
set(CPACK_MODULE_PATH ${ZOLM_WINDOWS_SOURCE_DIR})
set(CPACK_NSIS_PACKAGE_NAME ZOLM)
set(CPACK_NSIS_DISPLAY_NAME "ZOLM 电子单多点测斜仪")
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\Programs")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME zolm.exe)
set(CPACK_NSIS_MUI_ICON ${ZOLM_WINDOWS_ICON})
set(CPACK_NSIS_MUI_UNIICON ${ZOLM_WINDOWS_ICON})
set(CPACK_NSIS_MUI_FINISHPAGE_RUN zolm.exe)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# An older version is removed first, so files it had and this one has not do not linger.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_DEFINES "!include /CHARSET=UTF8 \"${ZOLM_WINDOWS_SOURCE_DIR}/windows-filetype.nsh\"")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!insertmacro ZolmRegisterFileType")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!insertmacro ZolmUnregisterFileType")
include(CPack)

# --- Checks -----------------------------------------------------------------------------------

# The installation folder has every file the programs need and nothing they import is missing.
if(ZOLM_BUILD_TESTS)
  add_test(NAME windows_install_folder
    COMMAND ${CMAKE_COMMAND} -E env CMAKE=${CMAKE_COMMAND} OBJDUMP=${CMAKE_OBJDUMP}
            bash ${ZOLM_WINDOWS_SOURCE_DIR}/windows-deps-check.sh
            --install ${PROJECT_BINARY_DIR} ${ZOLM_WINDOWS_BINARY_DIR}/install-check ${PROJECT_VERSION})
endif()
