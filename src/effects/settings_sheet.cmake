target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/up_down.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/path_dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/other_options_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/play_options_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_sheet.cpp)
