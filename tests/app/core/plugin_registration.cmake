# A stand-in plug-in library the registration tests copy into temporary folders.
add_library(vorn_test_plugin_stub MODULE ${CMAKE_CURRENT_LIST_DIR}/plugin_stub.cpp)
target_link_libraries(vorn_test_plugin_stub PRIVATE vorn_sanitizers)
set_target_properties(vorn_test_plugin_stub PROPERTIES
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
  CXX_VISIBILITY_PRESET hidden)

vorn_add_test(plugin_registration_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/plugin_registration_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/../../support/temp_dir.cpp
  LIBS vorn_core
  ENV "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/../../nullrender/lsan.supp"
    ASAN_OPTIONS=fast_unwind_on_malloc=0)
target_compile_definitions(plugin_registration_test PRIVATE
  VORN_PLUGIN_STUB="$<TARGET_FILE:vorn_test_plugin_stub>")
add_dependencies(plugin_registration_test vorn_test_plugin_stub gstzarvex)
