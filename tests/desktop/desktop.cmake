# The real program on a real desktop: each test starts its own Xvfb, openbox and tint2
# (./scripts/setup.sh installs them) and ends them. `ctest -L desktop` runs only these.
vorn_add_test(desktop_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_test.cpp
  LIBS vorn_desktop_support vorn_test_support
  TIMEOUT 300
  LABELS desktop)
add_executable(desktop_drag_source ${CMAKE_CURRENT_LIST_DIR}/drag_source.cpp)
set_target_properties(desktop_drag_source PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_link_libraries(desktop_drag_source PRIVATE vorn_sanitizers Qt6::Widgets)
add_dependencies(desktop_test vorn gstzarvex desktop_drag_source)
