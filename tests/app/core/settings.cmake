vorn_add_test(settings_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/settings_ini_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_io_test.cpp
  LIBS vorn_test_support vorn_core)
