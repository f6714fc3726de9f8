# Tests of the real larkspire-downloader binary under a private Xvfb.
add_executable (x11-close-window ${CMAKE_CURRENT_LIST_DIR}/shell/X11CloseWindow.cpp)
target_link_libraries (x11-close-window PRIVATE X11::X11)
larkspire_set_warnings (x11-close-window)

add_test (NAME shell.window
          COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/shell/window-test.sh
                  $<TARGET_FILE:larkspire-downloader> $<TARGET_FILE:x11-close-window>)
set_tests_properties (shell.window PROPERTIES LABELS gui TIMEOUT 120)

add_test (NAME shell.end_to_end
          COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/shell/end-to-end-test.sh
                  $<TARGET_FILE:larkspire-downloader> $<TARGET_FILE:x11-close-window>
                  $<TARGET_FILE:larkspire-devserver> ${CMAKE_BINARY_DIR}/screenshots)
set_tests_properties (shell.end_to_end PROPERTIES LABELS gui TIMEOUT 180)

# Folder permissions as an ordinary user (as root, JUCE calls every folder writable).
add_test (NAME shell.welcome_unwritable_folder
          COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/shell/as-unprivileged-user.sh
                  $<TARGET_FILE:gui_tests>
                  --gtest_filter=WelcomePage.UnwritableFolderIsReportedInTwoLines)
set_tests_properties (shell.welcome_unwritable_folder
                      PROPERTIES LABELS gui TIMEOUT 60 SKIP_RETURN_CODE 77)

add_test (NAME shell.quit_during_download
          COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/shell/quit-during-download-test.sh
                  $<TARGET_FILE:larkspire-downloader> $<TARGET_FILE:x11-close-window>
                  $<TARGET_FILE:larkspire-devserver>)
set_tests_properties (shell.quit_during_download PROPERTIES LABELS gui TIMEOUT 120)

# The application object's start-up and shutdown, in a binary of its own: shutdown deletes the
# model, which can be built only once per process.
add_executable (shell_app_tests ${CMAKE_CURRENT_LIST_DIR}/support/GuiTestMain.cpp
                                ${CMAKE_CURRENT_LIST_DIR}/gui/ShellTestSupport.cpp
                                ${CMAKE_CURRENT_LIST_DIR}/shell/ApplicationLifecycleTest.cpp)
target_link_libraries (shell_app_tests PRIVATE larkspire_test_support larkspire_ui)
larkspire_set_warnings (shell_app_tests)
gtest_discover_tests (shell_app_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                      PROPERTIES LABELS gui)
