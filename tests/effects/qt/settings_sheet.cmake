find_package(Qt6 REQUIRED COMPONENTS Test)
vorn_add_test(settings_sheet_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_sheet_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings_sheet_pages_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings_sheet_fixture.h
  LIBS vorn_ui Qt6::Test
  # GLib's abandoned first quark block, allocated in its library constructor.
  ENV "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/../../nullrender/lsan.supp")

# Shows the sheet on a real display and saves a picture of each page:
#   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb settings_sheet_shot docs/
add_executable(settings_sheet_shot ${CMAKE_CURRENT_LIST_DIR}/settings_sheet_shot.cpp)
set_target_properties(settings_sheet_shot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_link_libraries(settings_sheet_shot PRIVATE vorn_ui Qt6::Test)
