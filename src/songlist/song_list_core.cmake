target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/song_list.cpp)
