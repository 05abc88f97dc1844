# Shared settings for every target of the project.

function(quorvane_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
  if(QUORVANE_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# quorvane_library(name SOURCES ... LIBS ...): a static library whose headers
# are included as "<folder>/<header>.h", as from the repository root.
#
# Each library gets an include root of its own that holds only its folder, and
# sees the roots of the libraries it links: an include against the direction
# of the dependencies does not compile. Tests, benchmarks and fuzzers see the
# whole tree.
function(quorvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(folder MATCHES "^(tests|bench|fuzz)(/|$)")
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  else()
    set(root ${PROJECT_BINARY_DIR}/include_roots/${name})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    target_include_directories(${name} PUBLIC ${root})
  endif()
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  quorvane_target_defaults(${name})
endfunction()

# quorvane_test(name [DISPLAY] SOURCES ... LIBS ...): one GoogleTest executable, one
# CTest entry. DISPLAY: its windows need a display; under Wine it gets a private
# X server.
function(quorvane_test name)
  cmake_parse_arguments(ARG "DISPLAY" "" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  quorvane_target_defaults(${name})
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  elseif(ARG_DISPLAY)
    quorvane_wine_test(${name} bash ${PROJECT_SOURCE_DIR}/tests/wine/on_display.sh
                       ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  else()
    quorvane_wine_test(${name} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  endif()
endfunction()

# quorvane_wine_test(test command...): a test that runs under Wine, in a prefix
# of its own copied from the one the test run prepares (tests/wine).
function(quorvane_wine_test name)
  add_test(NAME ${name} COMMAND bash ${PROJECT_SOURCE_DIR}/tests/wine/own_prefix.sh ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_prefix
    ENVIRONMENT "QUORVANE_WINE_TEMPLATE=${QUORVANE_WINE_TEMPLATE};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
endfunction()

# quorvane_benchmark(name SOURCES ... LIBS ...): one Google Benchmark executable.
function(quorvane_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  quorvane_target_defaults(${name})
endfunction()

# quorvane_fuzzer(name SOURCES ... LIBS ... CORPUS dir): a libFuzzer target, run by
# CTest for a bounded time over its committed seed corpus.
function(quorvane_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 20)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  quorvane_target_defaults(${name})
  # Work on a copy so a run never writes into the committed seed corpus.
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env --
                   sh -c "rm -rf '${work}' && mkdir -p '${work}' && cp -r '${ARG_CORPUS}'/. '${work}'/ && exec '$<TARGET_FILE:${name}>' -max_total_time=${ARG_SECONDS} -print_final_stats=0 '${work}'")
endfunction()
