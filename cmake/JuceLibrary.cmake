# JUCE from Debian's juce-modules-source-data, compiled once into one static library.
set (JUCE_MODULES_DIR "/usr/share/juce/modules" CACHE PATH "Folder holding the JUCE modules")

if (NOT EXISTS "${JUCE_MODULES_DIR}/juce_core/juce_core.h")
    message (FATAL_ERROR "JUCE modules not found in ${JUCE_MODULES_DIR} (apt-get install juce-modules-source-data)")
endif()

find_package (PkgConfig REQUIRED)
pkg_check_modules (FREETYPE2 REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules (LIBCURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules (LIBPNG REQUIRED IMPORTED_TARGET libpng)
find_package (JPEG REQUIRED)
find_package (ZLIB REQUIRED)
find_package (X11 REQUIRED)

set (LARKSPIRE_JUCE_MODULES juce_core juce_events juce_data_structures juce_graphics juce_gui_basics)

# Mends to JUCE itself, each a patch that says why and when to drop it. They go into a copy of
# the modules in the build folder, which juce_lib compiles and every target includes. The copy
# is made again whenever the JUCE files, the module list or a patch change; the module headers,
# which carry JUCE's version, make CMake look again.
set (LARKSPIRE_JUCE_PATCHES "${CMAKE_CURRENT_LIST_DIR}/juce-curl-first-header.patch"
                            "${CMAKE_CURRENT_LIST_DIR}/juce-repeated-headers.patch"
                            "${CMAKE_CURRENT_LIST_DIR}/juce-curl-length.patch"
                            "${CMAKE_CURRENT_LIST_DIR}/juce-curl-cancel-race.patch")
set (patchedModules "${CMAKE_BINARY_DIR}/juce-modules")
find_program (PATCH_PROGRAM patch REQUIRED)
set (patchStamp "${JUCE_MODULES_DIR} ${LARKSPIRE_JUCE_MODULES}")
foreach (module IN LISTS LARKSPIRE_JUCE_MODULES)
    file (GLOB_RECURSE moduleFiles LIST_DIRECTORIES false "${JUCE_MODULES_DIR}/${module}/*")
    list (SORT moduleFiles)
    foreach (moduleFile IN LISTS moduleFiles)
        file (SHA256 "${moduleFile}" fileHash)
        string (APPEND patchStamp " ${fileHash}")
    endforeach()
    set_property (DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                  "${JUCE_MODULES_DIR}/${module}/${module}.h")
endforeach()
foreach (patchFile IN LISTS LARKSPIRE_JUCE_PATCHES)
    file (SHA256 "${patchFile}" patchHash)
    string (APPEND patchStamp " ${patchHash}")
    set_property (DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${patchFile}")
endforeach()
string (SHA256 patchStamp "${patchStamp}")
unset (previousStamp)
if (EXISTS "${patchedModules}/stamp")
    file (READ "${patchedModules}/stamp" previousStamp)
endif()
if (NOT "${previousStamp}" STREQUAL "${patchStamp}")
    file (REMOVE_RECURSE "${patchedModules}")
    foreach (module IN LISTS LARKSPIRE_JUCE_MODULES)
        file (COPY "${JUCE_MODULES_DIR}/${module}" DESTINATION "${patchedModules}")
    endforeach()
    foreach (patchFile IN LISTS LARKSPIRE_JUCE_PATCHES)
        execute_process (COMMAND "${PATCH_PROGRAM}" -p1 --forward --batch --fuzz=0
                                 --no-backup-if-mismatch -d "${patchedModules}" -i "${patchFile}"
                         RESULT_VARIABLE patchResult OUTPUT_VARIABLE patchOutput
                         ERROR_VARIABLE patchOutput)
        if (NOT patchResult EQUAL 0)
            file (REMOVE_RECURSE "${patchedModules}")
            message (FATAL_ERROR "${patchFile} does not apply to the JUCE in ${JUCE_MODULES_DIR}; "
                                 "if that JUCE has the fix, drop the patch.\n${patchOutput}")
        endif()
    endforeach()
    # The copy keeps JUCE's own file times, which can be older than what an earlier copy built:
    # made newer, every file of the new copy is compiled again.
    file (GLOB_RECURSE copiedFiles LIST_DIRECTORIES false "${patchedModules}/*")
    file (TOUCH_NOCREATE ${copiedFiles})
    file (WRITE "${patchedModules}/stamp" "${patchStamp}")
endif()

set (JUCE_LIB_SOURCES)
foreach (module IN LISTS LARKSPIRE_JUCE_MODULES)
    list (APPEND JUCE_LIB_SOURCES "${patchedModules}/${module}/${module}.cpp")
endforeach()

add_library (juce_lib STATIC ${JUCE_LIB_SOURCES})

# SYSTEM: JUCE's own headers must not drown our warnings.
target_include_directories (juce_lib SYSTEM PUBLIC "${patchedModules}" ${X11_INCLUDE_DIR})

target_compile_definitions (juce_lib PUBLIC
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    JUCE_STANDALONE_APPLICATION=1
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_USE_DARK_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_USE_CURL=1
    JUCE_LOAD_CURL_SYMBOLS_LAZILY=0
    JUCE_WEB_BROWSER=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_STRICT_REFCOUNTEDPOINTER=1
    JUCE_CHECK_MEMORY_LEAKS=1
    JUCE_MODULE_AVAILABLE_juce_core=1
    JUCE_MODULE_AVAILABLE_juce_events=1
    JUCE_MODULE_AVAILABLE_juce_data_structures=1
    JUCE_MODULE_AVAILABLE_juce_graphics=1
    JUCE_MODULE_AVAILABLE_juce_gui_basics=1
    $<$<CONFIG:Debug>:DEBUG=1 _DEBUG=1>
    $<$<NOT:$<CONFIG:Debug>>:NDEBUG=1>)

target_link_libraries (juce_lib PUBLIC
    PkgConfig::FREETYPE2 PkgConfig::LIBCURL PkgConfig::LIBPNG JPEG::JPEG ZLIB::ZLIB
    Threads::Threads ${CMAKE_DL_LIBS} rt)

set_target_properties (juce_lib PROPERTIES POSITION_INDEPENDENT_CODE ON)
# JUCE is not our code: its own warnings are not ours to fix.
target_compile_options (juce_lib PRIVATE -w)
