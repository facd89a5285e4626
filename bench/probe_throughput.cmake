# The song searcher's media probe against gst-discoverer-1.0 (run probe_throughput.sh).
if(TARGET vorn_test_support)
  add_executable(probe_throughput ${CMAKE_CURRENT_LIST_DIR}/probe_throughput.cpp)
  target_link_libraries(probe_throughput PRIVATE vorn_media vorn_test_support)
  if(TARGET gstzarvex)
    add_dependencies(probe_throughput gstzarvex)
  endif()
endif()
