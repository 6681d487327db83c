# What `cmake --install` puts where: the programs, the desktop entry, the AppStream metainfo,
# the application icon in the hicolor theme, the licence notices and the machine-readable
# copyright file that Debian looks for in every package's documentation folder.
set(app_id io.github.tempolane.Tempolane)

install(TARGETS tempolane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The desktop program is a target of its own folder; a build without it still installs the rest.
if(TARGET tempolane)
    install(TARGETS tempolane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# `tempolane --background` becomes this program, found beside the desktop program.
install(TARGETS tempolane-watcher RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES resources/${app_id}.desktop
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES resources/${app_id}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES resources/${app_id}.svg
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
install(FILES resources/THIRD_PARTY_NOTICES.txt resources/copyright DESTINATION ${TEMPOLANE_DOC_DIR})
