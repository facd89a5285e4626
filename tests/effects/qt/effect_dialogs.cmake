# The effect dialogs over a fake registry (full stacks for the leak suppressions under ASan).
vorn_add_test(effect_dialog_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/widget_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effect_dialog_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/property_editor_test.cpp
  LIBS vorn_ui
  ENV "ASAN_OPTIONS=fast_unwind_on_malloc=0"
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/../lsan.supp")
