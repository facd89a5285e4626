# The real program over a library of 2,000 songs, with a session of 300 that must fit in
# two minutes.
vorn_add_test(program_scale_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_scale_test.cpp
  LIBS vorn_test_support
  TIMEOUT 120)
add_dependencies(program_scale_test vorn gstzarvex)
