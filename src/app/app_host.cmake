target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/app_host.h
  ${CMAKE_CURRENT_LIST_DIR}/app_host.cpp)
