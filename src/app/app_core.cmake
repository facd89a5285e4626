target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/text_cut.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ascii_case.cpp)
