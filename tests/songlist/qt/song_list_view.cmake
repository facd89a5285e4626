find_package(Qt6 REQUIRED COMPONENTS Test)
vorn_add_test(song_list_view_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/song_list_view_test.cpp
  LIBS vorn_ui Qt6::Test)
