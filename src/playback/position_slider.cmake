target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/position_slider.h
  ${CMAKE_CURRENT_LIST_DIR}/position_slider.cpp)
