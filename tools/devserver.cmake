# larkspire-devserver: the local update server used by the run script, the tests and the
# benchmarks.
find_package (PkgConfig REQUIRED)
pkg_check_modules (CPP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)

add_executable (larkspire-devserver
                ${CMAKE_CURRENT_LIST_DIR}/devserver/Main.cpp
                ${CMAKE_CURRENT_LIST_DIR}/devserver/DevServerOptions.cpp
                ${CMAKE_CURRENT_LIST_DIR}/devserver/InstallerSource.cpp)
target_link_libraries (larkspire-devserver PRIVATE PkgConfig::CPP_HTTPLIB Threads::Threads)
larkspire_set_warnings (larkspire-devserver)
