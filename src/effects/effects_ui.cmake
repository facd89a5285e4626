target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/property_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/effect_select_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/effect_choice.cpp)
