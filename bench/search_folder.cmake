add_executable(bench_search_folder ${CMAKE_CURRENT_LIST_DIR}/search_folder.cpp)
target_link_libraries(bench_search_folder PRIVATE vorn_core benchmark::benchmark)
