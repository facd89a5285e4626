find_package(Qt6 REQUIRED COMPONENTS Test)

vorn_add_test(main_bar_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/../widgets/controls_test_main.cpp
          ${CMAKE_CURRENT_LIST_DIR}/main_bar_fakes.h
          ${CMAKE_CURRENT_LIST_DIR}/main_bar_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/main_bar_browse_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/main_bar_language_test.cpp
  LIBS vorn_test_support vorn_ui Qt6::Test)
target_compile_definitions(main_bar_test PRIVATE
  VORN_TS_FILE="${PROJECT_SOURCE_DIR}/translations/vorn_en.ts")
