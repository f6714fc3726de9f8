# The embedded font's tests compare the compiled-in archive with the files the build made.
target_compile_definitions (gui_tests PRIVATE
    LARKSPIRE_FONT_ARCHIVE_FILE="${CMAKE_BINARY_DIR}/font/NotoSansCJKjp-Regular.zip"
    LARKSPIRE_FONT_FILE="${CMAKE_BINARY_DIR}/font/NotoSansCJKjp-Regular.otf")
