# Time from the program's start to its first buffer at the sink, against gst-play-1.0.
if(TARGET vorn_test_support)
  add_executable(first_sound ${CMAKE_CURRENT_LIST_DIR}/first_sound.cpp)
  target_link_libraries(first_sound PRIVATE vorn_test_support)
endif()
