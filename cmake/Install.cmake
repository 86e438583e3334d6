# Install rules and the .deb packages.
#
#   publisher  qx_flash_hs-cli alone: no Qt, no FFmpeg (package qx-flash-hs-cli)
#   desktop    the window, the HTML5 converter, the selector utility, the guide, and what a
#              desktop needs to show and start them (package qx-flash-hs)
#
# Programs go to bin/, the selector utility and the media module to libexec/qx_flash_hs/ and the
# guide to share/doc/qx_flash_hs/: the window finds them relative to its own folder, so any prefix
# works.
# Another data folder of the program goes in one more install(DIRECTORY ... COMPONENT desktop)
# under ${qx_datadir}.
include(GNUInstallDirs)
set(qx_datadir ${CMAKE_INSTALL_DATADIR}/qx_flash_hs)
set(qx_libexecdir ${CMAKE_INSTALL_LIBEXECDIR}/qx_flash_hs)
set(qx_app_id org.qxflashhs.QxFlashHs)
set(dist ${PROJECT_SOURCE_DIR}/dist)

# Debian wants man pages and changelogs compressed without a time stamp.
find_program(QX_GZIP gzip)
function(qx_install_compressed file destination component)
  get_filename_component(name ${file} NAME)
  if(QX_GZIP)
    set(gz ${PROJECT_BINARY_DIR}/dist/${component}/${name}.gz)
    add_custom_command(OUTPUT ${gz}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/dist/${component}
      COMMAND ${QX_GZIP} -9nc ${file} > ${gz}
      DEPENDS ${file} VERBATIM)
    string(MAKE_C_IDENTIFIER "qx_gz_${component}_${name}" target)
    add_custom_target(${target} ALL DEPENDS ${gz})
    install(FILES ${gz} DESTINATION ${destination} COMPONENT ${component})
  else()
    install(FILES ${file} DESTINATION ${destination} COMPONENT ${component})
  endif()
endfunction()

# The packages' own documents: /usr/share/doc/<package>/.
function(qx_install_package_docs package component)
  set(docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package})
  install(FILES ${dist}/copyright DESTINATION ${docdir} COMPONENT ${component})
  qx_install_compressed(${dist}/changelog ${docdir} ${component})
endfunction()

install(TARGETS qx_flash_hs-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT publisher)
qx_install_compressed(${dist}/man/qx_flash_hs-cli.1 ${CMAKE_INSTALL_MANDIR}/man1 publisher)
qx_install_package_docs(qx-flash-hs-cli publisher)
set(qx_components publisher)

if(TARGET qx_flash_hs)
  install(TARGETS qx_flash_hs RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
  # Qt Multimedia and Qt Network, loaded by the window on first need.
  install(TARGETS qx_flash_hs-media LIBRARY DESTINATION ${qx_libexecdir} COMPONENT desktop)
  if(TARGET qx_flash_hs-webgl)
    install(TARGETS qx_flash_hs-webgl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
    qx_install_compressed(${dist}/man/qx_flash_hs-webgl.1 ${CMAKE_INSTALL_MANDIR}/man1 desktop)
  endif()
  if(TARGET qx_flash_hs-import)
    install(TARGETS qx_flash_hs-import RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
    qx_install_compressed(${dist}/man/qx_flash_hs-import.1 ${CMAKE_INSTALL_MANDIR}/man1 desktop)
  endif()
  if(TARGET velmora_redirect)
    install(TARGETS velmora_redirect RUNTIME DESTINATION ${qx_libexecdir} COMPONENT desktop)
    qx_install_compressed(${dist}/man/velmora_redirect.1 ${CMAKE_INSTALL_MANDIR}/man1 desktop)
  endif()
  if(TARGET user_guide)
    install(FILES ${PROJECT_BINARY_DIR}/src/qx_flash_hs.pdf DESTINATION ${CMAKE_INSTALL_DOCDIR}
            COMPONENT desktop)
  endif()
  qx_install_compressed(${dist}/man/qx_flash_hs.1 ${CMAKE_INSTALL_MANDIR}/man1 desktop)
  install(FILES ${dist}/linux/${qx_app_id}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
  install(FILES ${dist}/linux/${qx_app_id}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)
  install(FILES ${dist}/linux/${qx_app_id}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT desktop)
  install(FILES ${dist}/linux/qx_flash_hs-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME qx_flash_hs.xml COMPONENT desktop)
  # Ruffle, for "Publish FLV/Test" and the publisher's --with-ruffle: its runtime files only.
  if(EXISTS ${QX_RUFFLE_PACKAGE}/ruffle.js)
    install(DIRECTORY ${QX_RUFFLE_PACKAGE}/ DESTINATION ${qx_datadir}/ruffle COMPONENT desktop
            FILES_MATCHING PATTERN "*.js" PATTERN "*.wasm" PATTERN "LICENSE*")
  endif()
  qx_install_package_docs(qx-flash-hs desktop)
  list(APPEND qx_components desktop)
endif()

# .deb packages: cpack -G DEB in a Release build (scripts/package.sh).
set(CPACK_PACKAGE_NAME qx-flash-hs)
set(CPACK_PACKAGE_VENDOR "qx_flash_hs developers")
set(CPACK_PACKAGE_CONTACT "qx_flash_hs developers <maintainers@users.noreply.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL ${qx_components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.invalid/qx_flash_hs)
set(CPACK_DEBIAN_PUBLISHER_PACKAGE_NAME qx-flash-hs-cli)
set(CPACK_DEBIAN_PUBLISHER_DESCRIPTION
  "publisher of 360-degree video pages, command line\n\
Publishes the projects of qx_flash_hs without a display: the web page, the\n\
viewer, its config.xml, the hot-spot icons and a copy of the video, with the\n\
very same code as the desktop program. Also re-saves projects, writes options\n\
files and prints a project's settings as text or JSON.")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME qx-flash-hs)
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
  "turns a 360-degree video into a web page with hot spots\n\
A desktop tool for the author of a web page: it turns a 360-degree video\n\
(FLV or F4V) into the files of a page that shows it as an interactive\n\
panorama, with up to ten timed hot spots that open links. It previews the\n\
video, places the hot spots against it, and publishes the page. The package\n\
also holds the HTML5/WebGL converter, the selector utility with its local\n\
folder server, and the user's guide.")
# The preview plays FLV through GStreamer (H.264 needs plugins-bad, Sorenson and F4V libav), and
# Qt needs its platform plugins; none of that shows in the program's own shared libraries.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS
  "qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-libav")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "qx-flash-hs-cli, qt6-wayland")
# The desktop package carries Ruffle, which the publisher's --with-ruffle copies beside a page.
set(CPACK_DEBIAN_PUBLISHER_PACKAGE_SUGGESTS "qx-flash-hs")
include(CPack)
