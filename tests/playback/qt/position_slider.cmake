find_package(Qt6 REQUIRED COMPONENTS Test)
vorn_add_test(position_slider_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/position_slider_test.cpp
  LIBS vorn_ui Qt6::Test)
