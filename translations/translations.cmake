# Her texts are written in Japanese; each translations/hourling_<language>.ts carries them in one
# more language. lrelease compiles every file found here into the stage library at build time,
# beside her pictures (":/i18n/hourling_<language>.qm"); `make translations` runs lupdate over
# the sources and forms to bring the files up to date with the texts.
file(GLOB hourling_ts_files CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/hourling_*.ts)
file(GLOB_RECURSE hourling_tr_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/resources/forms/*.ui)
# Every layer's include root, so that lupdate finds the classes that its sources qualify.
set(hourling_tr_includes platform shared stage clock voice events character app)
list(TRANSFORM hourling_tr_includes PREPEND ${CMAKE_CURRENT_BINARY_DIR}/layers/)
qt_add_translations(hourling_stage
  TS_FILES ${hourling_ts_files}
  RESOURCE_PREFIX "/i18n"
  SOURCES ${hourling_tr_sources}
  INCLUDE_DIRECTORIES ${hourling_tr_includes}
  # No line numbers, so that the files change only when the texts do.
  LUPDATE_OPTIONS -source-language ja -locations none -no-obsolete
  LRELEASE_OPTIONS -silent)
