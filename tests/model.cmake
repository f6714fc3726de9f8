# Model tests that need processes of their own.

# Runs the download-folder search and prints its result: the folder tests start it with their
# own HOME and TMPDIR, as an unprivileged user where permissions must bite.
add_executable (download_folder_probe ${CMAKE_CURRENT_LIST_DIR}/model/DownloadFolderProbe.cpp)
target_link_libraries (download_folder_probe PRIVATE larkspire_core)
larkspire_set_warnings (download_folder_probe)
target_compile_definitions (core_tests PRIVATE
                            LARKSPIRE_FOLDER_PROBE_PATH="$<TARGET_FILE:download_folder_probe>")
add_dependencies (core_tests download_folder_probe)

# The installed-editor hand-off end to end: the real program, a fake editor, the devserver.
target_sources (larkspire_test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/support/SpawnedProcess.cpp)
target_compile_definitions (gui_tests PRIVATE
                            LARKSPIRE_APPLICATION_PATH="$<TARGET_FILE:larkspire-downloader>")
add_dependencies (gui_tests larkspire-downloader)
