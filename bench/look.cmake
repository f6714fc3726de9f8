# Typeface cache against the bare typeface, and the cost of installing the embedded font.
add_executable (look_benchmarks ${CMAKE_CURRENT_LIST_DIR}/TypefaceBenchmarks.cpp)
target_link_libraries (look_benchmarks PRIVATE larkspire_ui benchmark::benchmark)
larkspire_set_warnings (look_benchmarks)

# Process start to the first painted window, over several runs (run it under tools/with-xvfb.sh).
find_package (X11 REQUIRED)
add_executable (look_first_paint ${CMAKE_CURRENT_LIST_DIR}/FirstPaintProbe.cpp)
target_link_libraries (look_first_paint PRIVATE ${X11_LIBRARIES})
larkspire_set_warnings (look_first_paint)
