vorn_add_test(songlist_searcher_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/name_order_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/playlist_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/song_list_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/song_list_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/song_searcher_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/song_searcher_thread_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../../support/temp_dir.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wildcard_test.cpp
  LIBS vorn_core vorn_test_doubles)
