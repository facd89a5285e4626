# The application object, the icons and the vorn program itself.
target_sources(vorn_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/player_app.cpp
  ${CMAKE_CURRENT_LIST_DIR}/app_icons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resources/vorn_icons.qrc)

add_executable(vorn ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(vorn PRIVATE vorn_ui)
