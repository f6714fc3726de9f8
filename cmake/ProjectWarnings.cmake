# Our own code builds clean at this level; JUCE's headers are SYSTEM includes.
function (larkspire_set_warnings target)
    target_compile_options (${target} PRIVATE -Wall -Wextra -Wshadow)
    if (LARKSPIRE_WERROR)
        target_compile_options (${target} PRIVATE -Werror)
    endif()
endfunction()
