# The English catalogues. Two .ts files in translations/, each filled by lupdate from its own
# folders so that the desktop's and the command line's texts are edited apart:
#   cmake --build build/release --target zolm_en_lupdate       (desktop and core)
#   cmake --build build/release --target zolm_cli_en_lupdate   (zolm-cli, analysis, output, sim)
# lrelease compiles both into zolm_platform, which every program links, as :/i18n/<name>.qm.
# (qt_add_translations does both halves for one set of sources; here there are two.) When
# cross-compiling, lupdate and lrelease are the build machine's: Qt's config looks for
# Qt6LinguistTools under QT_HOST_PATH, as for moc and rcc.
find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

# zolm_lupdate(TS FOLDER_OR_FILE... [EXCLUDE FILE...])
function(zolm_lupdate ts)
  cmake_parse_arguments(L "" "" "EXCLUDE" ${ARGN})
  set(sources "")
  foreach(item IN LISTS L_UNPARSED_ARGUMENTS)
    if(item MATCHES "\\.(cpp|h)$")
      list(APPEND sources ${PROJECT_SOURCE_DIR}/${item})
    else()
      file(GLOB_RECURSE found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${item}/*.cpp ${PROJECT_SOURCE_DIR}/${item}/*.h)
      list(APPEND sources ${found})
    endif()
  endforeach()
  foreach(item IN LISTS L_EXCLUDE)
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/${item})
  endforeach()
  get_filename_component(name ${ts} NAME_WE)
  # No line numbers in the .ts: moving code about does not rewrite the catalogue.
  qt_add_lupdate(${name} TS_FILES ${PROJECT_SOURCE_DIR}/${ts} SOURCES ${sources}
    INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/sim
    OPTIONS -locations none -source-language zh_CN)
endfunction()

# The trajectory formats' table holds the trajectory window's button and dialog texts.
zolm_lupdate(translations/zolm_en.ts src/app src/probe src/table src/document src/platform src/survey src/session
  src/output/trajectory_formats.cpp)
zolm_lupdate(translations/zolm_cli_en.ts src/cli src/analysis src/output sim EXCLUDE src/output/trajectory_formats.cpp)

qt_add_lrelease(zolm_platform
  TS_FILES ${PROJECT_SOURCE_DIR}/translations/zolm_en.ts ${PROJECT_SOURCE_DIR}/translations/zolm_cli_en.ts
  QM_FILES_OUTPUT_VARIABLE ZOLM_QM_FILES)
qt_add_resources(zolm_platform zolm_translations PREFIX /i18n BASE ${CMAKE_CURRENT_BINARY_DIR} FILES ${ZOLM_QM_FILES})
