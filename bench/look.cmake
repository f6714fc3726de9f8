# Typeface cache against the bare typeface, and the cost of installing the embedded font.
add_executable (look_benchmarks ${CMAKE_CURRENT_LIST_DIR}/TypefaceBenchmarks.cpp)
target_link_libraries (look_benchmarks PRIVATE larkspire_ui benchmark::benchmark)
larkspire_set_warnings (look_benchmarks)
