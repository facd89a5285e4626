# The Zarvex plug-in: its element as GStreamer applications see it, and its server
# exports. The exports are tested twice: with the plug-in already found on GStreamer's
# plug-in path, and with the plug-in known only through its own registration.
set(zarvex_support ${CMAKE_CURRENT_LIST_DIR}/gst_test_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../support/temp_dir.cpp)
# Leak reports need full stacks to tell GLib's start-up allocations apart.
set(zarvex_lsan "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp"
  ASAN_OPTIONS=fast_unwind_on_malloc=0)

vorn_add_test(zarvex_renderer_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/discard_renderer_test.cpp ${zarvex_support}
  LIBS vorn_media
  ENV ${zarvex_lsan})
add_dependencies(zarvex_renderer_test gstzarvex)

pkg_check_modules(GST_CHECK REQUIRED IMPORTED_TARGET gstreamer-check-1.0)
vorn_add_test(zarvex_harness_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/discard_renderer_harness_test.cpp
  LIBS vorn_media PkgConfig::GST_CHECK
  ENV ${zarvex_lsan})
add_dependencies(zarvex_harness_test gstzarvex)

foreach(variant IN ITEMS scanned unscanned)
  set(extra_env "")
  if(variant STREQUAL "unscanned")
    set(extra_env "GST_PLUGIN_PATH=")
  endif()
  vorn_add_test(zarvex_exports_${variant}_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/server_exports_test.cpp ${zarvex_support}
    LIBS vorn_media
    ENV ${zarvex_lsan} ${extra_env})
  add_dependencies(zarvex_exports_${variant}_test gstzarvex)
endforeach()

vorn_add_test(zarvex_class_factory_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/class_factory_test.cpp ${zarvex_support}
  LIBS vorn_media
  ENV ${zarvex_lsan} GST_PLUGIN_PATH=)
add_dependencies(zarvex_class_factory_test gstzarvex)
