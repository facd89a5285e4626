# The media graph: one GStreamer pipeline per song, its bus events, the pipeline report's
# walk and the song searcher's probe.
target_sources(vorn_media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bin_walk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bus_listener.cpp
  ${CMAKE_CURRENT_LIST_DIR}/graph_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/media_graph.cpp
  ${CMAKE_CURRENT_LIST_DIR}/media_probe.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pipeline_errors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/riff_id3_tags.cpp
  ${CMAKE_CURRENT_LIST_DIR}/song_pipeline.cpp)
