# The pipeline report's text and the frame walk of raw MPEG audio files.
vorn_add_test(graph_report_format_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/graph_report_format_test.cpp
  LIBS vorn_core vorn_test_support)

vorn_add_test(mpeg_audio_length_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mpeg_audio_length_test.cpp
  LIBS vorn_core vorn_test_support)
