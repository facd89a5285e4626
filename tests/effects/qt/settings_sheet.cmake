find_package(Qt6 REQUIRED COMPONENTS Test)
vorn_add_test(settings_sheet_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_sheet_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings_sheet_pages_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/settings_sheet_fixture.h
  LIBS vorn_ui Qt6::Test
  # GLib's abandoned first quark block, allocated in its library constructor.
  ENV "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/../../nullrender/lsan.supp")
