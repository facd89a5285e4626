# The installed tree and its Debian package:
#   bin/vorn                          the program
#   lib/vorn/libgstzarvex.so          the plug-in, private to the program, which looks for
#                                     it in ../lib/vorn relative to itself
#   share/applications, share/icons/hicolor, share/metainfo, share/man/man1/vorn.1.gz
#   share/doc/vorn                    copyright and changelog.Debian.gz, as Debian wants
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
set(VORN_PACKAGE_MAINTAINER "The vorn developers <vorn@users.noreply.github.com>"
    CACHE STRING "Maintainer written into the Debian package")
# The package is built apart from the upstream source, so its version has a revision
# (1.2.0-1) and its changelog is changelog.Debian.
set(VORN_DEBIAN_REVISION 1 CACHE STRING "Revision of the Debian package of this version")
set(VORN_DEBIAN_VERSION ${PROJECT_VERSION}-${VORN_DEBIAN_REVISION})
set(CPACK_PACKAGE_VENDOR "The vorn developers")
configure_file(${VORN_DATA_DIR}/vorn.desktop.in ${VORN_GENERATED_DATA}/${VORN_APP_ID}.desktop @ONLY)
configure_file(${VORN_DATA_DIR}/vorn.metainfo.xml.in
               ${VORN_GENERATED_DATA}/${VORN_APP_ID}.metainfo.xml @ONLY)
configure_file(${VORN_DATA_DIR}/vorn.1.in ${VORN_GENERATED_DATA}/vorn.1 @ONLY)
# A date YYYY-MM-DD as a changelog gives it: "Mon, 07 Dec 2026 00:00:00 +0000".
function(vorn_changelog_date date out)
  if(NOT date MATCHES "^([0-9][0-9][0-9][0-9])-0?([1-9][0-9]?)-0?([1-9][0-9]?)$")
    message(FATAL_ERROR "not a date YYYY-MM-DD: ${date}")
  endif()
  set(year ${CMAKE_MATCH_1})
  math(EXPR month "${CMAKE_MATCH_2} - 1")
  set(day ${CMAKE_MATCH_3})
  # Sakamoto's rule for the day of the week, 0 for Sunday.
  set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  list(GET month_offsets ${month} offset)
  set(y ${year})
  if(month LESS 2)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday)
  list(GET months ${month} month)
  if(day LESS 10)
    set(day 0${day})
  endif()
  set(${out} "${weekday}, ${day} ${month} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()
vorn_changelog_date(${VORN_RELEASE_DATE} VORN_RELEASE_DATE_RFC2822)
configure_file(${VORN_DATA_DIR}/changelog.Debian.in ${VORN_GENERATED_DATA}/changelog.Debian @ONLY)
string(SUBSTRING ${VORN_RELEASE_DATE} 0 4 VORN_COPYRIGHT_YEAR)
configure_file(${VORN_DATA_DIR}/copyright.in ${VORN_GENERATED_DATA}/copyright @ONLY)

# The manual page and the changelog are installed compressed, without the name and time
# gzip would otherwise record, so the package is the same on every build.
find_program(VORN_GZIP gzip REQUIRED)
foreach(VORN_FILE IN ITEMS vorn.1 changelog.Debian)
  execute_process(COMMAND ${VORN_GZIP} -9nc ${VORN_FILE} WORKING_DIRECTORY ${VORN_GENERATED_DATA}
                  OUTPUT_FILE ${VORN_GENERATED_DATA}/${VORN_FILE}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${VORN_GENERATED_DATA}/${VORN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VORN_GENERATED_DATA}/${VORN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VORN_GENERATED_DATA}/vorn.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${VORN_GENERATED_DATA}/copyright ${VORN_GENERATED_DATA}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VORN_DEBIAN_REVISION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small music player for folders, files and song lists")
# In lines of at most 80 characters, as the package's description shows them.
set(CPACK_PACKAGE_DESCRIPTION
    "vorn plays folder trees, media files, its own song lists and M3U/PLS playlists
from a tiny tool-bar window, in order or at random, through optional GStreamer
audio effects. Video files play for their sound alone.")
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
  # dpkg-shlibdeps adds the libraries' packages once cpack has laid out the files
  # (cmake/DebianDepends.cmake, instead of CPACK_DEBIAN_PACKAGE_SHLIBDEPS and its
  # ldconfig scripts).
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebianDepends.cmake)
  set(CPACK_VORN_DPKG_SHLIBDEPS ${VORN_DPKG_SHLIBDEPS})
  set(CPACK_VORN_ELF_FILES ${CMAKE_INSTALL_BINDIR}/vorn ${VORN_PLUGIN_INSTALL_DIR}/libgstzarvex.so)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${VORN_RUNTIME_PLUGINS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6widgets6, libgstreamer1.0-0, libgstreamer-plugins-base1.0-0, ${VORN_RUNTIME_PLUGINS}")
endif()
include(CPack)
