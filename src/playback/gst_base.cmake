target_sources(vorn_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/gst_init.cpp)
