# Small resources (SVG icons, translation texts) become byte arrays in larkspire_resources.
# Each is declared in resources/BinaryResources.h as a NUL-terminated array plus its size.
function (larkspire_embed_file target file symbol)
    set (input "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    set (output "${CMAKE_CURRENT_BINARY_DIR}/generated/${symbol}.cpp")
    add_custom_command (OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
                -DNAMESPACE=BinaryResources -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake
        DEPENDS "${input}" ${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake
        COMMENT "Embedding ${file}" VERBATIM)
    target_sources (${target} PRIVATE "${output}")
endfunction()

add_library (larkspire_resources STATIC)
target_include_directories (larkspire_resources PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
larkspire_embed_file (larkspire_resources resources/logo.svg logoSvg)
larkspire_embed_file (larkspire_resources resources/globe.svg globeSvg)
larkspire_embed_file (larkspire_resources resources/translation_ja.txt translationJa)
larkspire_embed_file (larkspire_resources resources/translation_zh_CN.txt translationZhCn)
