target_sources (larkspire_test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/support/DevServer.cpp)
target_compile_definitions (larkspire_test_support
                            PRIVATE LARKSPIRE_DEVSERVER_PATH="$<TARGET_FILE:larkspire-devserver>")
add_dependencies (larkspire_test_support larkspire-devserver)
target_sources (larkspire_test_support PRIVATE ${CMAKE_CURRENT_LIST_DIR}/support/ScriptedServer.cpp)
