# The embedded font's tests compare the compiled-in archive with the files the build made.
target_compile_definitions (gui_tests PRIVATE
    LARKSPIRE_FONT_ARCHIVE_FILE="${CMAKE_BINARY_DIR}/font/NotoSansCJKjp-Regular.zip"
    LARKSPIRE_FONT_FILE="${CMAKE_BINARY_DIR}/font/NotoSansCJKjp-Regular.otf"
    LARKSPIRE_FONT_COLLECTION_FILE="${LARKSPIRE_FONT_COLLECTION}")

# The font build step refuses what it cannot use, with a message that says what to do.
add_test (NAME FontArchiveScript.MissingCollectionNamesThePackage
          COMMAND ${LARKSPIRE_PYTHON3} ${CMAKE_SOURCE_DIR}/cmake/FontArchive.py otf
                  /nonexistent/NotoSansCJK-Regular.ttc 0 "Noto Sans CJK JP" 16467736
                  ${CMAKE_CURRENT_BINARY_DIR}/never-written.otf)
set_tests_properties (FontArchiveScript.MissingCollectionNamesThePackage PROPERTIES
                      PASS_REGULAR_EXPRESSION "install Debian's fonts-noto-cjk" LABELS core)

add_test (NAME FontArchiveScript.WrongFaceIsRefused
          COMMAND ${LARKSPIRE_PYTHON3} ${CMAKE_SOURCE_DIR}/cmake/FontArchive.py otf
                  ${LARKSPIRE_FONT_COLLECTION} 2 "Noto Sans CJK JP" 16467736
                  ${CMAKE_CURRENT_BINARY_DIR}/never-written.otf)
set_tests_properties (FontArchiveScript.WrongFaceIsRefused PROPERTIES
                      PASS_REGULAR_EXPRESSION "face 2 of .* is \"Noto Sans CJK SC\", expected \"Noto Sans CJK JP\""
                      LABELS core)
