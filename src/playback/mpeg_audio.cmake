# The frame walk that gives raw MPEG audio files their exact length.
target_sources(vorn_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/mpeg_audio_length.cpp)
