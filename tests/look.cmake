# The embedded font's tests compare the compiled-in archive with the files the build made.
target_compile_definitions (gui_tests PRIVATE
    LARKSPIRE_FONT_ARCHIVE_FILE="${CMAKE_BINARY_DIR}/font/NotoSansCJKjp-Regular.zip"
    LARKSPIRE_FONT_FILE="${CMAKE_BINARY_DIR}/font/NotoSansCJKjp-Regular.otf")

# The font data check reads bytes from outside: its table also runs headless in core_tests, so
# that the sanitizer pass, which builds and runs only those, covers it. It needs the font file
# alone, not the archive.
target_sources (core_tests PRIVATE ${CMAKE_SOURCE_DIR}/look/FontDataCheck.cpp)
target_compile_definitions (core_tests PRIVATE
    LARKSPIRE_FONT_FILE="${CMAKE_BINARY_DIR}/font/NotoSansCJKjp-Regular.otf")
add_custom_target (larkspire_font_file DEPENDS "${CMAKE_BINARY_DIR}/font/NotoSansCJKjp-Regular.otf")
add_dependencies (core_tests larkspire_font_file)
