# Script mode: turns one file into a C++ source holding its bytes plus a terminating NUL.
#   cmake -DINPUT=<file> -DOUTPUT=<cpp> -DSYMBOL=<name> -DNAMESPACE=<ns> -P EmbedFile.cmake
file (READ "${INPUT}" hex HEX)
string (LENGTH "${hex}" hexLength)
math (EXPR byteCount "${hexLength} / 2")
string (REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string (REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n    " bytes "${bytes}")
file (WRITE "${OUTPUT}"
"// Generated from ${INPUT}; do not edit.\n#include <cstddef>\n\nnamespace ${NAMESPACE}\n{\n"
"extern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Size;\n"
"const unsigned char ${SYMBOL}[] = {\n    ${bytes}0x00 };\n"
"const std::size_t ${SYMBOL}Size = ${byteCount};\n}\n")
