target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/file_uri.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_listing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_file_lines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/m3u_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playlist_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/playlist_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pls_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/song_list_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/song_searcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/thread_task.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wildcard.cpp)
