find_package(Qt6 REQUIRED COMPONENTS Test)

vorn_add_test(controls_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/controls_test_main.cpp
          ${CMAKE_CURRENT_LIST_DIR}/controls_test_pixels.h
          ${CMAKE_CURRENT_LIST_DIR}/controls_flat_button_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/controls_link_label_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/controls_dialog_units_test.cpp
  LIBS vorn_ui Qt6::Test)

vorn_add_test(about_box_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/controls_test_main.cpp
          ${CMAKE_CURRENT_LIST_DIR}/about_box_test.cpp
  LIBS vorn_ui Qt6::Test)
