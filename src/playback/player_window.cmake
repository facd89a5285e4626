# The player window, its timers, the SearchDone hand-off and the song list save.
target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/search_done_channel.cpp)
target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/player_host.h
  ${CMAKE_CURRENT_LIST_DIR}/player_window.h
  ${CMAKE_CURRENT_LIST_DIR}/player_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/save_song_list.h
  ${CMAKE_CURRENT_LIST_DIR}/save_song_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_timers.h
  ${CMAKE_CURRENT_LIST_DIR}/window_timers.cpp)
