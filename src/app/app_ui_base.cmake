target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dialog_units.cpp)
