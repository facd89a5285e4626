target_sources(vorn_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/class_factory.cpp)
