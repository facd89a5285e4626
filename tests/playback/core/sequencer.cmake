vorn_add_test(playback_sequencer_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/sequencer_harness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sequencer_order_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sequencer_join_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sequencer_rules_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sequencer_search_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sequencer_timing_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/session_moves_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../../support/temp_dir.cpp
  LIBS vorn_core vorn_test_doubles)
