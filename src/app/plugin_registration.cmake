target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/plugin_registration.cpp)
