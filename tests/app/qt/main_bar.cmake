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

# Shows the main bar on a real display and saves pictures of it:
#   xvfb-run -a -s "-screen 0 1024x768x24" build/tests/main_bar_snapshot docs/main-bar.png [menu]
add_executable(main_bar_snapshot ${CMAKE_CURRENT_LIST_DIR}/main_bar_snapshot.cpp)
set_target_properties(main_bar_snapshot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_link_libraries(main_bar_snapshot PRIVATE vorn_ui)
