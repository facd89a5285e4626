# Song joins heard through a private PulseAudio server, against gst-play-1.0 --gapless.
if(TARGET vorn_test_support)
  add_executable(gapless ${CMAKE_CURRENT_LIST_DIR}/gapless.cpp)
  target_link_libraries(gapless PRIVATE vorn_test_support)
endif()
