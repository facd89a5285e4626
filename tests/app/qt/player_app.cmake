vorn_add_test(player_app_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/player_app_test.cpp
  LIBS vorn_test_support vorn_ui)
