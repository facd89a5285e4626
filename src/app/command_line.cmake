# Selection texts and the command line's paths: plain C++, no Qt.
target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/selection_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp)
