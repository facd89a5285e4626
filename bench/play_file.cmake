# Plays one file through MediaGraph to its end; play_cpu.sh measures its CPU time.
add_executable(bench_play_file ${CMAKE_CURRENT_LIST_DIR}/play_file.cpp)
target_link_libraries(bench_play_file PRIVATE vorn_media)
add_dependencies(bench_play_file gstzarvex)
