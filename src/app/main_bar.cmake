# The main bar, its dialogs, the tray icon and the windows' hand-over of the screen.
target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/main_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_bar_dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tray_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_position.cpp)
