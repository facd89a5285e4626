find_package(Qt6 REQUIRED COMPONENTS Test)
# The player window over the fake graph and the catalogue's probes, the song list save
# and the SearchDone hand-off; one session with the real media graph.
vorn_add_test(player_window_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/player_window_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/player_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/player_window_save_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/player_window_thread_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/player_window_media_test.cpp
  LIBS vorn_ui vorn_test_support vorn_test_doubles Qt6::Test)
if(TARGET gstzarvex)
  add_dependencies(player_window_test gstzarvex)
endif()
