target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/flat_button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp)
