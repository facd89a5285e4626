# VORN_SANITIZER=address builds everything with AddressSanitizer and UBSan,
# VORN_SANITIZER=thread with ThreadSanitizer.
if(VORN_SANITIZER STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VORN_SANITIZER STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT VORN_SANITIZER STREQUAL "")
  message(FATAL_ERROR "VORN_SANITIZER must be empty, 'address' or 'thread'")
endif()
