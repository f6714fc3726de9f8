# The download worker's throughput against nginx and curl (bench/download-throughput.sh).
add_executable (download_throughput ${CMAKE_CURRENT_LIST_DIR}/DownloadThroughput.cpp)
target_link_libraries (download_throughput PRIVATE larkspire_core)
larkspire_set_warnings (download_throughput)
