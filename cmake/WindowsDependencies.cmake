# The test and command-line dependencies of the cross build. Debian ships
# GoogleTest as sources, and CLI11, Eigen and nlohmann-json as headers, for
# the build machine only: the tests build GoogleTest from its sources with
# the cross compiler, and CLI11 is seen through a folder of its own so that
# the build machine's other headers stay out of the Windows build.
set(QUORVANE_GTEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest sources")
set(QUORVANE_CLI11_HEADERS /usr/include/CLI CACHE PATH "CLI11 headers")
set(QUORVANE_EIGEN_HEADERS /usr/include/eigen3 CACHE PATH "Eigen 3 headers")

set(shims ${PROJECT_BINARY_DIR}/windows_dependencies)
file(MAKE_DIRECTORY ${shims}/include)
file(CREATE_LINK ${QUORVANE_CLI11_HEADERS} ${shims}/include/CLI SYMBOLIC)
add_library(quorvane_cli11 INTERFACE)
target_include_directories(quorvane_cli11 SYSTEM INTERFACE ${shims}/include)
add_library(CLI11::CLI11 ALIAS quorvane_cli11)
file(WRITE ${shims}/CLI11Config.cmake "set(CLI11_FOUND TRUE)\n")
set(CLI11_DIR ${shims} CACHE PATH "" FORCE)

file(MAKE_DIRECTORY ${shims}/eigen3)
file(CREATE_LINK ${QUORVANE_EIGEN_HEADERS} ${shims}/eigen3/include SYMBOLIC)
add_library(quorvane_eigen3 INTERFACE)
target_include_directories(quorvane_eigen3 SYSTEM INTERFACE ${shims}/eigen3/include)
add_library(Eigen3::Eigen ALIAS quorvane_eigen3)
file(WRITE ${shims}/eigen3/Eigen3Config.cmake "set(Eigen3_FOUND TRUE)\nset(Eigen3_VERSION 3.4.0)\n")
file(WRITE ${shims}/eigen3/Eigen3ConfigVersion.cmake
     "set(PACKAGE_VERSION 3.4.0)\nset(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
set(Eigen3_DIR ${shims}/eigen3 CACHE PATH "" FORCE)

# nlohmann-json is headers only, seen through a folder of its own like CLI11.
set(QUORVANE_NLOHMANN_JSON_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann-json headers")
file(MAKE_DIRECTORY ${shims}/nlohmann_json/include)
file(CREATE_LINK ${QUORVANE_NLOHMANN_JSON_HEADERS} ${shims}/nlohmann_json/include/nlohmann SYMBOLIC)
add_library(quorvane_nlohmann_json INTERFACE)
target_include_directories(quorvane_nlohmann_json SYSTEM INTERFACE ${shims}/nlohmann_json/include)
add_library(nlohmann_json::nlohmann_json ALIAS quorvane_nlohmann_json)
file(WRITE ${shims}/nlohmann_json/nlohmann_jsonConfig.cmake "set(nlohmann_json_FOUND TRUE)\n")
file(WRITE ${shims}/nlohmann_json/nlohmann_jsonConfigVersion.cmake
     "set(PACKAGE_VERSION 3.11.2)\nset(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
set(nlohmann_json_DIR ${shims}/nlohmann_json CACHE PATH "" FORCE)

if(QUORVANE_BUILD_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${QUORVANE_GTEST_SOURCES} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  file(WRITE ${shims}/GTestConfig.cmake "set(GTest_FOUND TRUE)\n")
  set(GTest_DIR ${shims} CACHE PATH "" FORCE)
endif()
