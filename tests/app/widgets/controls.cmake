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

# Shows the about box on a real display and saves a picture of it with its frame:
#   xvfb-run -s "-screen 0 1024x768x24" build/tests/about_box_snapshot docs/about-box.png
add_executable(about_box_snapshot ${CMAKE_CURRENT_LIST_DIR}/about_box_snapshot.cpp)
set_target_properties(about_box_snapshot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_link_libraries(about_box_snapshot PRIVATE vorn_ui)
