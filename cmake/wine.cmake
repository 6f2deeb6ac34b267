# Running what the Windows build makes, here: under Wine, through a script that puts Qt's and
# MinGW's libraries on the program's path. It is the emulator of every target, so ctest (and
# GoogleTest's discovery) start the test programs through it.
find_file(ZOLM_MINGW_LIBSTDCXX libstdc++-6.dll
  PATHS /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/lib/gcc/x86_64-w64-mingw32/13-posix
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_file(ZOLM_MINGW_WINPTHREAD libwinpthread-1.dll
  PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ZOLM_MINGW_LIBSTDCXX OR NOT ZOLM_MINGW_WINPTHREAD)
  message(FATAL_ERROR "MinGW-w64's runtime libraries were not found (package g++-mingw-w64-x86-64-posix)")
endif()
get_filename_component(ZOLM_MINGW_RUNTIME_DIR ${ZOLM_MINGW_LIBSTDCXX} DIRECTORY)
get_filename_component(ZOLM_MINGW_PTHREAD_DIR ${ZOLM_MINGW_WINPTHREAD} DIRECTORY)

set(ZOLM_WINE_PATH_LIST ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} ${ZOLM_MINGW_RUNTIME_DIR} ${ZOLM_MINGW_PTHREAD_DIR})
set(ZOLM_WINE_PATH "")
foreach(dir IN LISTS ZOLM_WINE_PATH_LIST)
  string(REPLACE "/" "\\\\" windows_dir "Z:${dir}")
  string(APPEND ZOLM_WINE_PATH "${windows_dir};")
endforeach()
set(ZOLM_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "The Wine prefix the build's programs run in")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
