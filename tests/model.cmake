# Model tests that need processes of their own.

# Prints the download-folder search's result, for the folder tests to run as another user with
# their own HOME and TMPDIR.
add_executable (download_folder_probe ${CMAKE_CURRENT_LIST_DIR}/model/DownloadFolderProbe.cpp)
target_link_libraries (download_folder_probe PRIVATE larkspire_core)
larkspire_set_warnings (download_folder_probe)
target_compile_definitions (core_tests PRIVATE
                            LARKSPIRE_FOLDER_PROBE_PATH="$<TARGET_FILE:download_folder_probe>")
add_dependencies (core_tests download_folder_probe)

# The hand-off to an installed editor with the real binary, on a display of its own.
add_test (NAME model.editor_hand_off
          COMMAND bash ${CMAKE_SOURCE_DIR}/tools/with-xvfb.sh
                  bash ${CMAKE_CURRENT_LIST_DIR}/model/editor-hand-off-test.sh
                  $<TARGET_FILE:larkspire-downloader> $<TARGET_FILE:larkspire-devserver>)
set_tests_properties (model.editor_hand_off PROPERTIES LABELS gui TIMEOUT 120)
