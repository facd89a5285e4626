# Helpers shared by the test suites: generated media, temporary folders, peak measurement,
# the capture of what a media graph plays, a private session bus.
add_library(vorn_test_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/program_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/open_blocker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/session_bus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/temp_dir.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_media.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_capture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sound_server.cpp)
target_include_directories(vorn_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(vorn_test_support PUBLIC vorn_media GTest::gtest)

vorn_add_test(test_support_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_media_test.cpp
  LIBS vorn_test_support)

# A real desktop (Xvfb, openbox, tint2) and the X tools that drive and read it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VORN_XCB REQUIRED IMPORTED_TARGET xcb)
add_library(vorn_desktop_support STATIC ${CMAKE_CURRENT_LIST_DIR}/desktop.cpp)
target_include_directories(vorn_desktop_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(vorn_desktop_support PUBLIC vorn_sanitizers PkgConfig::VORN_XCB)

# The test doubles of the playing graph and the probes, over one catalogue of songs.
add_library(vorn_test_doubles STATIC
  ${CMAKE_CURRENT_LIST_DIR}/fake_player.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fake_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/song_catalogue.cpp)
target_include_directories(vorn_test_doubles PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(vorn_test_doubles PUBLIC vorn_core)
