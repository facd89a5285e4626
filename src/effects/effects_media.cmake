target_sources(vorn_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/effect_catalogue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/effect_chain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/element_properties.cpp)
