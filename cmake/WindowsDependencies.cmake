# The test and command-line dependencies of the cross build. Debian ships
# GoogleTest as sources and CLI11 as headers for the build machine only: the
# tests build GoogleTest from its sources with the cross compiler, and CLI11 is
# seen through a folder of its own so that the build machine's other headers
# stay out of the Windows build.
set(QUORVANE_GTEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest sources")
set(QUORVANE_CLI11_HEADERS /usr/include/CLI CACHE PATH "CLI11 headers")

set(shims ${PROJECT_BINARY_DIR}/windows_dependencies)
file(MAKE_DIRECTORY ${shims}/include)
file(CREATE_LINK ${QUORVANE_CLI11_HEADERS} ${shims}/include/CLI SYMBOLIC)
add_library(quorvane_cli11 INTERFACE)
target_include_directories(quorvane_cli11 SYSTEM INTERFACE ${shims}/include)
add_library(CLI11::CLI11 ALIAS quorvane_cli11)
file(WRITE ${shims}/CLI11Config.cmake "set(CLI11_FOUND TRUE)\n")
set(CLI11_DIR ${shims} CACHE PATH "" FORCE)

if(QUORVANE_BUILD_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${QUORVANE_GTEST_SOURCES} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  file(WRITE ${shims}/GTestConfig.cmake "set(GTest_FOUND TRUE)\n")
  set(GTest_DIR ${shims} CACHE PATH "" FORCE)
endif()
