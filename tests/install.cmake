# The installed tree: tests/install_check.sh installs the build into a temporary prefix,
# validates what a desktop needs, runs the installed program through
# install_program_test and builds the Debian package. `ctest -L install` runs it alone.
add_executable(install_program_test ${CMAKE_CURRENT_LIST_DIR}/install_program_test.cpp)
set_target_properties(install_program_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_link_libraries(install_program_test PRIVATE vorn_test_support vorn_sanitizers GTest::gtest GTest::gtest_main)
add_dependencies(install_program_test vorn gstzarvex)
add_test(NAME install_check
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_check.sh ${CMAKE_BINARY_DIR}
          $<TARGET_FILE:install_program_test> ${PROJECT_VERSION} ${VORN_APP_ID})
set_tests_properties(install_check PROPERTIES
  LABELS install
  TIMEOUT 600
  ENVIRONMENT "TSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/tsan.supp;LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/lsan.supp;ASAN_OPTIONS=fast_unwind_on_malloc=0")
