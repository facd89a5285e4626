vorn_add_test(tray_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/../widgets/controls_test_main.cpp
          ${CMAKE_CURRENT_LIST_DIR}/tray_test.cpp
  LIBS vorn_ui)
