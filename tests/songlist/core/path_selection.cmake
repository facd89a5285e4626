vorn_add_test(command_line_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/path_selection_test.cpp
  LIBS vorn_test_support vorn_core)
