vorn_add_test(effect_catalogue_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/effect_catalogue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effect_chain_test.cpp
  LIBS vorn_media vorn_test_support)

vorn_add_test(effect_dialog_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/widget_test_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effect_dialog_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/property_editor_test.cpp
  LIBS vorn_ui)

# Songs played by the real media graph through the effects, recorded to WAV files.
vorn_add_test(effect_playback_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/effect_playback_test.cpp
  LIBS vorn_media vorn_test_support)
