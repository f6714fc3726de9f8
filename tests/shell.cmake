# Tests of the real larkspire-downloader binary, each under an Xvfb of its own.
add_executable (x11-close-window ${CMAKE_CURRENT_LIST_DIR}/shell/X11CloseWindow.cpp)
target_link_libraries (x11-close-window PRIVATE X11::X11)
larkspire_set_warnings (x11-close-window)

set (SHELL_TESTS ${CMAKE_CURRENT_LIST_DIR}/shell)
function (larkspire_window_test name timeout)
    add_test (NAME shell.${name}
              COMMAND bash ${CMAKE_SOURCE_DIR}/tools/with-xvfb.sh bash ${SHELL_TESTS}/${name}-test.sh
                      $<TARGET_FILE:larkspire-downloader> $<TARGET_FILE:x11-close-window> ${ARGN})
    set_tests_properties (shell.${name} PROPERTIES LABELS gui TIMEOUT ${timeout})
endfunction()
larkspire_window_test (window 120)
larkspire_window_test (end-to-end 180 $<TARGET_FILE:larkspire-devserver>)
larkspire_window_test (quit-during-download 120 $<TARGET_FILE:larkspire-devserver>)

# Folder permissions as an ordinary user (as root, JUCE calls every folder writable).
add_test (NAME shell.welcome_unwritable_folder
          COMMAND bash ${SHELL_TESTS}/as-unprivileged-user.sh $<TARGET_FILE:gui_tests>
                  --gtest_filter=WelcomePage.OnlyAbsoluteTextChoosesAFolder)
set_tests_properties (shell.welcome_unwritable_folder
                      PROPERTIES LABELS gui TIMEOUT 60 SKIP_RETURN_CODE 77)

# Real clicks (XTest) on a display that no other test's window shares.
add_test (NAME gui.double_click_on_next
          COMMAND bash ${CMAKE_SOURCE_DIR}/tools/with-xvfb.sh env LARKSPIRE_OWN_DISPLAY=1
                  $<TARGET_FILE:gui_tests> --gtest_filter=DownloadRoad.ADoubleClick*)
set_tests_properties (gui.double_click_on_next PROPERTIES LABELS gui TIMEOUT 120)
