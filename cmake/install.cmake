# What an installed tool brings along, and the Debian package (scripts/package.sh).

install(TARGETS tql400 tq4c RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET tql400-sim)
  install(TARGETS tql400-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(TQL_APP_ID io.tql400.tql400)
install(FILES data/tql400.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# .tq4 files are programs of this tool: a double-click opens them with it.
install(FILES data/tql400-mime.xml RENAME tql400.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES data/tql400.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES data/tql400-${size}.png RENAME tql400.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
configure_file(data/tql400.metainfo.xml generated/${TQL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/generated/${TQL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian way of keeping the changelog (a package with a Debian revision) and the
# copyright beside the programs.
set(docs ${CMAKE_CURRENT_BINARY_DIR}/generated/doc)
add_custom_command(OUTPUT ${docs}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
  COMMAND gzip -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/data/changelog > ${docs}/changelog.Debian.gz
  DEPENDS data/changelog VERBATIM)
add_custom_target(docs ALL DEPENDS ${docs}/changelog.Debian.gz)
install(FILES data/copyright ${docs}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The first session with the tool, as an operator reads it.
install(FILES docs/walkthrough.md docs/walkthrough.png docs/walkthrough-debug.png docs/languages.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages made from each program's --help and --version, with the sections of
# data/man/PROGRAM.h2m (files, examples, exit status, see also).
find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(man ${CMAKE_CURRENT_BINARY_DIR}/generated/man)
  set(pages "")
  foreach(entry
      "tql400|teaching and programming tool for the TQL400 motion controller"
      "tq4c|translate a TQL400 program file into controller text"
      "tql400-sim|play a TQL400 controller on a pseudo-terminal")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 summary)
    if(NOT TARGET ${program})
      continue()
    endif()
    add_custom_command(OUTPUT ${man}/${program}.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
      COMMAND ${HELP2MAN} --no-info --locale=C.UTF-8 --no-discard-stderr --section=1 --name=${summary}
              --include=${CMAKE_CURRENT_SOURCE_DIR}/data/man/${program}.h2m
              --output=${man}/${program}.1 $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${man}/${program}.1
      DEPENDS ${program} data/man/${program}.h2m VERBATIM)
    list(APPEND pages ${man}/${program}.1.gz)
  endforeach()
  add_custom_target(manpages ALL DEPENDS ${pages})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no manual pages")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tql400)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tql400.org/")
set(CPACK_PACKAGE_CONTACT "tql400 developers <maintainers@tql400.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching and programming tool for the TQL400 controller")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Builds motion programs for the TQL400 single-axis motion controller as a\n"
  "numbered list of rows, keeps them in .tq4 files and uploads them over an\n"
  "RS-232 line; a console shows the slide position and the inputs, switches\n"
  "the outputs and teaches positions. Includes tq4c, the command-line\n"
  "translator, and tql400-sim, a controller simulator.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The run history's database driver is a plugin, which no library dependency names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
# The standard buttons read 是/否/確定/取消 with Qt's own Traditional-Chinese texts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_STRIP_FILES ON)
include(CPack)
