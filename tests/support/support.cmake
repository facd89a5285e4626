# Helpers shared by the test suites: generated media, temporary folders, peak measurement.
add_library(vorn_test_support STATIC
  ${CMAKE_CURRENT_LIST_DIR}/program_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/temp_dir.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_media.cpp)
target_include_directories(vorn_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(vorn_test_support PUBLIC vorn_media GTest::gtest)

vorn_add_test(test_support_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_media_test.cpp
  LIBS vorn_test_support)
