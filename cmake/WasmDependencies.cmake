# The header-only libraries of the Debian packages, for the WebAssembly build.
#
# The emscripten toolchain searches its own sysroot only, and /usr/include
# cannot go on the include path (its C library headers would shadow
# emscripten's), so each library's own folder is linked into a tree of the
# build and offered to find_package from there.

set(quorvane_wasm_headers ${PROJECT_BINARY_DIR}/wasm_headers)
file(MAKE_DIRECTORY ${quorvane_wasm_headers})

# quorvane_wasm_package(package version target header_folder...): a config
# package whose target sees header_folder (under /usr/include) as its own.
function(quorvane_wasm_package package version target)
  set(root ${quorvane_wasm_headers}/${package})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${ARGN})
    get_filename_component(name ${folder} NAME)
    if(NOT EXISTS ${root}/${name})
      file(CREATE_LINK /usr/include/${folder} ${root}/${name} SYMBOLIC)
    endif()
  endforeach()
  string(TOLOWER ${package} lower)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config.cmake
       "if(NOT TARGET ${target})\n"
       "  add_library(${target} INTERFACE IMPORTED)\n"
       "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})\n"
       "endif()\n")
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config-version.cmake
       "set(PACKAGE_VERSION ${version})\n"
       "set(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
endfunction()

quorvane_wasm_package(Eigen3 3.4.0 Eigen3::Eigen eigen3/Eigen eigen3/unsupported)

# Eigen sums and multiplies in SSE2 packets of two doubles on x86-64, in
# another order than its scalar code: the fits of the two builds then differ
# in the last digits, and the iterations where a step crosses the tolerance.
# So the WebAssembly build takes Eigen's SSE2 code too, which emscripten
# compiles to WebAssembly SIMD with the same IEEE operations: x86-64 as far
# as Eigen can tell (__amd64, which nothing else here reads), no CPUID, and a
# compiler version that picks Eigen's intrinsics over its GCC inline
# assembly (5.99: >= 6.3 for its minimum and maximum, < 6 for its register
# hints). Eigen's MMX include is an empty header: SSE2 code uses no MMX.
file(WRITE ${quorvane_wasm_headers}/Eigen3/mmintrin.h "#pragma once\n")
add_compile_options(-msimd128 -msse2 -fgnuc-version=5.99 "-DEIGEN_OPTIMIZATION_BARRIER(X)=")
add_compile_definitions(__amd64 EIGEN_NO_CPUID)
quorvane_wasm_package(nlohmann_json 3.11.2 nlohmann_json::nlohmann_json nlohmann)
quorvane_wasm_package(CLI11 2.1.2 CLI11::CLI11 CLI)
