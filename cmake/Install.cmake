# The installed tree and its Debian package:
#   bin/vorn                          the program
#   lib/vorn/libgstzarvex.so          the plug-in, private to the program, which looks for
#                                     it in ../lib/vorn relative to itself
#   share/applications, share/icons/hicolor, share/metainfo, share/man/man1
# `cmake --install <build> --prefix P` lays it out under P; `cpack -G DEB` packs the same
# tree for /usr.
include(GNUInstallDirs)

# The plug-in's place is fixed relative to the program (bin/../lib/vorn), so it ignores
# CMAKE_INSTALL_LIBDIR (lib/x86_64-linux-gnu on Debian).
set(VORN_PLUGIN_INSTALL_DIR lib/vorn)

# Neither file keeps a build-tree RPATH: the program links only system libraries and
# finds the plug-in by its own path.
set_target_properties(vorn gstzarvex PROPERTIES INSTALL_RPATH "")
install(TARGETS vorn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS gstzarvex LIBRARY DESTINATION ${VORN_PLUGIN_INSTALL_DIR})

set(VORN_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(VORN_GENERATED_DATA ${PROJECT_BINARY_DIR}/data)
configure_file(${VORN_DATA_DIR}/vorn.desktop.in ${VORN_GENERATED_DATA}/${VORN_APP_ID}.desktop @ONLY)
configure_file(${VORN_DATA_DIR}/vorn.metainfo.xml.in
               ${VORN_GENERATED_DATA}/${VORN_APP_ID}.metainfo.xml @ONLY)
configure_file(${VORN_DATA_DIR}/vorn.1.in ${VORN_GENERATED_DATA}/vorn.1 @ONLY)
install(FILES ${VORN_GENERATED_DATA}/${VORN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VORN_GENERATED_DATA}/${VORN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VORN_GENERATED_DATA}/vorn.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The icons the program itself carries: the drawing and the bitmaps drawn from it.
set(VORN_ICON_SOURCE ${PROJECT_SOURCE_DIR}/src/app/resources)
set(VORN_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${VORN_ICON_SOURCE}/app.svg
        DESTINATION ${VORN_ICON_DIR}/scalable/apps RENAME ${VORN_APP_ID}.svg)
foreach(size IN ITEMS 16 24 32 48 64 128 256)
  install(FILES ${VORN_ICON_SOURCE}/app-${size}.png
          DESTINATION ${VORN_ICON_DIR}/${size}x${size}/apps RENAME ${VORN_APP_ID}.png)
endforeach()

# The Debian package.
set(VORN_PACKAGE_MAINTAINER "The vorn developers <vorn@users.noreply.github.com>"
    CACHE STRING "Maintainer written into the Debian package")
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The vorn developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small music player for folders, files and song lists")
set(CPACK_PACKAGE_DESCRIPTION
    "vorn plays folder trees, media files, its own song lists and M3U/PLS playlists from a tiny tool-bar window, in order or at random, through optional GStreamer audio effects. Video files play for their sound alone.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VORN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# GStreamer's own plug-ins (demuxers, decoders, sinks) and Qt's platform plug-ins are
# loaded at run time, so no library dependency names them.
set(VORN_RUNTIME_PLUGINS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, qt6-qpa-plugins")
find_program(VORN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VORN_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The plug-in is found by dpkg-shlibdeps among the package's own files, not in a
  # shared library package.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
      ${CPACK_PACKAGING_INSTALL_PREFIX}/${VORN_PLUGIN_INSTALL_DIR})
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${VORN_RUNTIME_PLUGINS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6, libgstreamer1.0-0, libgstreamer-plugins-base1.0-0, ${VORN_RUNTIME_PLUGINS}")
endif()
include(CPack)
