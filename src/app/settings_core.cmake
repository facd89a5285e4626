# The settings store, the settings records' keys, the ini file's location and the
# histories: plain C++, no Qt, no GStreamer.
target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ini_location.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_io.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_list.cpp)
