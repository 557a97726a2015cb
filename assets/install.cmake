# What an installation holds, laid out as a Linux desktop expects it: the program, its menu
# entry, icons, AppStream metadata, manual page, licence and changelog.
include(GNUInstallDirs)

set(WIRTOLA_APP_ID pl.wirtola.Wirtola)
set(WIRTOLA_DESKTOP_DIR ${CMAKE_CURRENT_SOURCE_DIR}/desktop)
# Debian names the documentation folder after the package, not the project.
set(WIRTOLA_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/wirtola)

# A game lives in games/ (Debian policy 11.11), with a link in bin/ so that `wirtola` starts
# it from any shell, root's too, whose PATH has no games folder.
set(WIRTOLA_INSTALL_GAMESDIR games CACHE STRING "Where the program is installed, below the prefix")
# The program is defined in session/, which the top folder adds after this one: the rule waits
# until the top folder has read all of its parts.
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR}
  CALL install TARGETS wirtola RUNTIME DESTINATION ${WIRTOLA_INSTALL_GAMESDIR})
file(RELATIVE_PATH wirtola_link_target ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${WIRTOLA_INSTALL_GAMESDIR}/wirtola)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/bin)
file(CREATE_LINK ${wirtola_link_target} ${CMAKE_CURRENT_BINARY_DIR}/bin/wirtola SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/bin/wirtola DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${WIRTOLA_DESKTOP_DIR}/${WIRTOLA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${WIRTOLA_DESKTOP_DIR}/${WIRTOLA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/icons/${size}x${size}/${WIRTOLA_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${WIRTOLA_DESKTOP_DIR}/copyright DESTINATION ${WIRTOLA_DOC_DIR})

# Manual pages and changelogs are shipped gzipped (Debian policy), without a time stamp, so
# their bytes depend only on the sources.
set(wirtola_gzipped)
foreach(pair "wirtola.6:wirtola.6.gz" "changelog:changelog.gz")
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 source)
  list(GET pair 1 packed)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${packed}
    COMMAND sh -c "gzip -9n -c '${WIRTOLA_DESKTOP_DIR}/${source}' > '${CMAKE_CURRENT_BINARY_DIR}/${packed}'"
    DEPENDS ${WIRTOLA_DESKTOP_DIR}/${source} VERBATIM)
  list(APPEND wirtola_gzipped ${CMAKE_CURRENT_BINARY_DIR}/${packed})
endforeach()
add_custom_target(wirtola_gzipped ALL DEPENDS ${wirtola_gzipped})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/wirtola.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${WIRTOLA_DOC_DIR})
