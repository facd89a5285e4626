vorn_add_test(history_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/history_test.cpp
  LIBS vorn_test_support vorn_core)
