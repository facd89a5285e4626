target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/play_sequencer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rand_generator.cpp)
