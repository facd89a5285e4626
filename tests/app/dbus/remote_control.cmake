# The real program on a private session bus, driven by the desktop's own client
# (playerctl) and by a second start of the program. `ctest -L dbus` runs only these.
vorn_add_test(remote_control_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/remote_control_test.cpp
  LIBS vorn_test_support Qt6::DBus
  LABELS dbus)
add_dependencies(remote_control_test vorn gstzarvex)
