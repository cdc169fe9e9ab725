# The install layout, by the FHS (`cmake --install <build> --prefix <prefix>`):
#   bin/magna
#   share/magna/help/index.html                      found from bin/ as ../share/magna/help
#   share/applications/<id>.desktop, share/metainfo/<id>.metainfo.xml
#   share/icons/hicolor/<size>x<size>/apps/<id>.png, .../scalable/apps/<id>.svg
#   share/man/man1/magna.1.gz, share/man/ja/man1/magna.1.gz
#   share/doc/magna/copyright, share/doc/magna/changelog.gz
# <id> is the one application id of the desktop entry, the metainfo, the icon and
# the program's desktop file name (app/magna.cpp).

include(GNUInstallDirs)

set(MAGNA_APP_ID io.github.magnatool.Magna)
set(MAGNA_HELP_DIR ${CMAKE_INSTALL_DATADIR}/magna/help)
set(MAGNA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/magna)  # Debian wants the package's name here
set(MAGNA_PACKAGE_MAINTAINER "The Magna developers <magna@example.org>"
    CACHE STRING "Maintainer named in the Debian package and its changelog")
set(_dist ${PROJECT_SOURCE_DIR}/dist)
set(_generated ${PROJECT_BINARY_DIR}/dist)

# The help page is looked for beside the program first, then here.
file(RELATIVE_PATH _help_from_bin /${CMAKE_INSTALL_BINDIR} /${MAGNA_HELP_DIR})
target_compile_definitions(magna_desktop PRIVATE MAGNA_HELP_FROM_BIN="${_help_from_bin}")

install(TARGETS magna RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES app/desktop/help/index.html DESTINATION ${MAGNA_HELP_DIR})
install(FILES ${_dist}/${MAGNA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_dist}/${MAGNA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${_dist}/icons/magna-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${MAGNA_APP_ID}.png)
endforeach()
install(FILES ${_dist}/icons/magna.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${MAGNA_APP_ID}.svg)

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n: no
# name or time stamp, so that two builds give the same bytes).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(_compressed "")
foreach(page man/magna.1 man/ja/magna.1 changelog)
  set(_in ${_dist}/${page}.in)
  set(_out ${_generated}/${page})
  configure_file(${_in} ${_out} @ONLY)
  add_custom_command(OUTPUT ${_out}.gz
                     COMMAND ${GZIP_PROGRAM} -9 -n -f -k ${_out}
                     DEPENDS ${_out} ${_in}
                     COMMENT "Compressing ${page}")
  list(APPEND _compressed ${_out}.gz)
endforeach()
add_custom_target(magna_dist_files ALL DEPENDS ${_compressed})
install(FILES ${_generated}/man/magna.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_generated}/man/ja/magna.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES ${_dist}/copyright ${_generated}/changelog.gz DESTINATION ${MAGNA_DOC_DIR})
