# The embedded UI font. Filled in by the look-and-feel work; until then an empty library.
add_library (larkspire_font INTERFACE)
