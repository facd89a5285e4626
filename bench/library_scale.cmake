# Memory, descriptors and probe time at library scale (run library_scale.sh).
if(TARGET vorn_test_support)
  add_executable(library_scale ${CMAKE_CURRENT_LIST_DIR}/library_scale.cpp)
  target_link_libraries(library_scale PRIVATE vorn_media vorn_test_support)
  if(TARGET gstzarvex)
    add_dependencies(library_scale gstzarvex)
  endif()
endif()
