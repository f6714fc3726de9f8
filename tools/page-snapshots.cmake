# page-snapshots: PNGs of every page in every language (run it under tools/with-xvfb.sh).
add_executable (page-snapshots
                ${CMAKE_CURRENT_LIST_DIR}/page-snapshots/PageSnapshots.cpp
                ${CMAKE_CURRENT_LIST_DIR}/page-snapshots/SnapshotServer.cpp)
target_link_libraries (page-snapshots PRIVATE larkspire_ui)
target_compile_definitions (page-snapshots
                            PRIVATE LARKSPIRE_DEVSERVER_PATH="$<TARGET_FILE:larkspire-devserver>")
add_dependencies (page-snapshots larkspire-devserver)
larkspire_set_warnings (page-snapshots)
