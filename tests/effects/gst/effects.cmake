# Under ASan, full stacks let the leak suppressions recognise GLib's load-time tables.
set(vorn_effects_leak_env
  "ASAN_OPTIONS=fast_unwind_on_malloc=0"
  "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/../lsan.supp")

vorn_add_test(effect_catalogue_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/effect_catalogue_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effect_chain_test.cpp
  LIBS vorn_media vorn_test_support
  ENV ${vorn_effects_leak_env})

# Songs played by the real media graph through the effects, recorded to WAV files.
vorn_add_test(effect_playback_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/effect_playback_test.cpp
  LIBS vorn_media vorn_test_support
  ENV ${vorn_effects_leak_env})
