target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/song_list_view.h
  ${CMAKE_CURRENT_LIST_DIR}/song_list_view.cpp)
