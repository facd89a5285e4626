# The layering check, run by CTest: cmake -DROOT=<source dir> -P tests/layering.cmake
# A file under a core/ folder (of src/ or tests/) may include neither Qt, GStreamer or GLib
# headers nor anything from a gst/, qt/, dbus/ or widgets/ folder; a file under a gst/
# folder neither Qt headers nor anything from a qt/, dbus/ or widgets/ folder. Header-only
# files are checked like the rest. Each offending include is reported with its file and
# line.
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source dir> -P layering.cmake")
endif()

set(qt_header "^<Q")
set(gst_header "^<(gst/|glib|gio/|gobject/)")
set(core_folders "(^|/)(gst|qt|dbus|widgets)/")
set(gst_folders "(^|/)(qt|dbus|widgets)/")

set(violations 0)
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/src/*.h ${ROOT}/src/*.cpp
  ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp)
list(SORT files)
foreach(file IN LISTS files)
  if(file MATCHES "/core/")
    set(layer core)
  elseif(file MATCHES "/gst/")
    set(layer gst)
  else()
    continue()
  endif()
  file(READ ${ROOT}/${file} text)
  # One list element per line: characters that mean something to a list are masked.
  string(REPLACE "\\" "/" text "${text}")
  string(REPLACE ";" "," text "${text}")
  string(REPLACE "[" "(" text "${text}")
  string(REPLACE "]" ")" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"][^>\"]*[>\"])")
      continue()
    endif()
    set(target "${CMAKE_MATCH_1}")
    string(SUBSTRING "${target}" 1 -1 path)
    set(bad FALSE)
    if(target MATCHES "${qt_header}")
      set(bad TRUE)
    elseif(layer STREQUAL "core" AND (target MATCHES "${gst_header}" OR
           (target MATCHES "^\"" AND path MATCHES "${core_folders}")))
      set(bad TRUE)
    elseif(layer STREQUAL "gst" AND target MATCHES "^\"" AND path MATCHES "${gst_folders}")
      set(bad TRUE)
    endif()
    if(bad)
      message("${file}:${number}: a ${layer}/ file includes ${target}")
      math(EXPR violations "${violations} + 1")
    endif()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) cross the layers")
endif()
