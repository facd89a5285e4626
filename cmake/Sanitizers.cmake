# VORN_SANITIZER=address builds every target with AddressSanitizer and UBSan,
# VORN_SANITIZER=thread with ThreadSanitizer. The flags are set per target: a target
# links vorn_sanitizers (vorn_core does so publicly, so everything built on it has them),
# and the Zarvex plug-in links vorn_plugin_sanitizers instead.
add_library(vorn_sanitizers INTERFACE)
# GStreamer loads the plug-in into its own uninstrumented helpers (gst-plugin-scanner,
# gst-inspect-1.0), where an AddressSanitizer or ThreadSanitizer runtime can't start from a
# dlopen. So the plug-in keeps only UndefinedBehaviorSanitizer in an address build and is
# left uninstrumented in a thread build.
add_library(vorn_plugin_sanitizers INTERFACE)
if(VORN_SANITIZER STREQUAL "address")
  target_compile_options(vorn_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(vorn_sanitizers INTERFACE -fsanitize=address,undefined)
  target_compile_options(vorn_plugin_sanitizers INTERFACE
    -fsanitize=undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(vorn_plugin_sanitizers INTERFACE -fsanitize=undefined)
elseif(VORN_SANITIZER STREQUAL "thread")
  target_compile_options(vorn_sanitizers INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(vorn_sanitizers INTERFACE -fsanitize=thread)
  target_compile_options(vorn_plugin_sanitizers INTERFACE -fno-omit-frame-pointer)
elseif(NOT VORN_SANITIZER STREQUAL "")
  message(FATAL_ERROR "VORN_SANITIZER must be empty, 'address' or 'thread'")
endif()
