target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/song_list_view.h
  ${CMAKE_CURRENT_LIST_DIR}/song_list_view.cpp)
# On X11 the view keeps off the task bar (_NET_WM_STATE_SKIP_TASKBAR), set through xcb.
pkg_check_modules(VORN_X11 IMPORTED_TARGET xcb)
if(VORN_X11_FOUND)
  target_link_libraries(vorn_ui PRIVATE PkgConfig::VORN_X11)
  target_compile_definitions(vorn_ui PRIVATE VORN_HAVE_XCB=1)
endif()
