vorn_add_test(program_e2e_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_e2e_test.cpp
  LIBS vorn_test_support)
# The test runs the real program with the plug-in beside it.
add_dependencies(program_e2e_test vorn gstzarvex)

vorn_add_test(program_paths_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_paths_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/program_options_test.cpp
  LIBS vorn_test_support)
add_dependencies(program_paths_test vorn gstzarvex)
