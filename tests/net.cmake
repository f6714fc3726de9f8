# The development update server fixture, shared by every test binary.
target_sources (larkspire_test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/support/DevServer.cpp)
target_compile_definitions (larkspire_test_support
                            PRIVATE LARKSPIRE_DEVSERVER_PATH="$<TARGET_FILE:larkspire-devserver>")
add_dependencies (larkspire_test_support larkspire-devserver)

# One download in a child process, for the mount-namespace cases of the download tests.
add_executable (download_probe ${CMAKE_CURRENT_LIST_DIR}/support/DownloadProbe.cpp)
target_link_libraries (download_probe PRIVATE larkspire_core)
target_include_directories (download_probe PRIVATE ${CMAKE_CURRENT_LIST_DIR})
larkspire_set_warnings (download_probe)
target_compile_definitions (core_tests PRIVATE
                            LARKSPIRE_DOWNLOAD_PROBE_PATH="$<TARGET_FILE:download_probe>")
add_dependencies (core_tests download_probe)
