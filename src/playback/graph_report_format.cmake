# Pure parts of playback: the pipeline report's text layout and the result code texts.
target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/graph_report_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_codes.cpp)
