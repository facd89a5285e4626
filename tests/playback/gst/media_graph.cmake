# The media graph and its pipeline report, over generated media.
vorn_add_test(media_graph_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/media_graph_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/media_graph_video_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/media_graph_effects_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/media_graph_ends_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/media_graph_join_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/media_probe_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/song_bus_test.cpp
  LIBS vorn_media vorn_test_support)
if(TARGET gstzarvex)
  add_dependencies(media_graph_test gstzarvex)
endif()

vorn_add_test(media_session_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/media_session_test.cpp
  LIBS vorn_media vorn_test_support vorn_test_doubles)
if(TARGET gstzarvex)
  add_dependencies(media_session_test gstzarvex)
endif()

# Under the leaks tracer, tracking only the kinds of object a pipeline is made of.
vorn_add_test(media_leaks_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/media_leaks_test.cpp
  LIBS vorn_media vorn_test_support
  ENV "GST_TRACERS=leaks(GstElement,GstBus,GstPad,GstMessage)")
if(TARGET gstzarvex)
  add_dependencies(media_leaks_test gstzarvex)
endif()

# One file per container and sound format, each played through to a captured sound, and
# one per kind of tag; the cover pictures from tags go to a cache in the build tree.
vorn_add_test(media_formats_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/media_formats_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/media_tags_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/media_details_test.cpp
  LIBS vorn_media vorn_test_support
  ENV "XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/tests/cache"
  TIMEOUT 60)
if(TARGET gstzarvex)
  add_dependencies(media_formats_test gstzarvex)
endif()

# A decoder taken out of the registry: the message naming the missing plug-in.
vorn_add_test(media_missing_plugin_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/media_missing_plugin_test.cpp
  LIBS vorn_media vorn_test_support)
