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

# Screenshots for the documentation (run by hand under xvfb-run, not a test).
add_executable(player_window_shot
  ${CMAKE_CURRENT_LIST_DIR}/player_window_shot.cpp)
set_target_properties(player_window_shot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_link_libraries(player_window_shot PRIVATE vorn_ui vorn_test_support Qt6::Test)
