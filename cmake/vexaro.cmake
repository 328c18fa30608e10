# Build settings and helpers shared by every folder.

add_library(vexaro_warnings INTERFACE)
target_compile_options(vexaro_warnings INTERFACE -Wall -Wextra -Wpedantic
                       $<$<BOOL:${VEXARO_WERROR}>:-Werror>)

if(VEXARO_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VEXARO_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT VEXARO_SANITIZE STREQUAL "")
  message(FATAL_ERROR "VEXARO_SANITIZE must be empty, 'address' or 'thread'")
endif()

if(VEXARO_COVERAGE)
  # Line counts for gcovr; with GCC the counters of concurrent test processes are merged safely.
  add_compile_options(--coverage)
  add_link_options(--coverage)
endif()

if(VEXARO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VEXARO_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  # Coverage instrumentation for every library the fuzzers reach. Its callbacks come with
  # libFuzzer in the fuzz targets and with the sanitizer runtimes; without a sanitizer, the other
  # programs of the build (tools, tests, benchmarks) take them from libFuzzer's runtime without its
  # main, linked last where it only fills what is still missing.
  add_compile_options(-fsanitize=fuzzer-no-link)
  if(VEXARO_SANITIZE STREQUAL "")
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} --print-runtime-dir
                    OUTPUT_VARIABLE runtime_dir OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(callbacks ${runtime_dir}/libclang_rt.fuzzer_no_main-${CMAKE_SYSTEM_PROCESSOR}.a)
    if(NOT EXISTS ${callbacks})
      message(FATAL_ERROR "libFuzzer runtime not found: ${callbacks}")
    endif()
    string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " ${callbacks}")
  endif()
endif()

# vexaro_library(NAME SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# A static library whose headers are included from the project root ("device/dsp_device.h").
function(vexaro_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE vexaro_warnings ${ARG_PRIVATE_DEPS})
endfunction()

# vexaro_test(NAME [THREADS] SOURCES ... [DEPS ...])
# One GoogleTest executable; each test case becomes a CTest test, run offscreen. THREADS marks a
# program whose tests run code on more than one thread: they carry the label `threads`, and
# `make check` runs them under ThreadSanitizer.
function(vexaro_test name)
  cmake_parse_arguments(ARG "THREADS" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main vexaro_warnings)
  set_property(GLOBAL APPEND PROPERTY vexaro_tests ${name})
  # gtest_discover_tests flattens property values, so a test gets one label at most.
  set(label)
  if(ARG_THREADS)
    set(label LABELS threads)
    set_property(GLOBAL APPEND PROPERTY vexaro_thread_tests ${name})
  endif()
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300 ${label})
endfunction()

# vexaro_bench(NAME SOURCES ... [DEPS ...]): a Google Benchmark program, built into <build>/bench/
# where `make bench` finds every one of them.
function(vexaro_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark_main vexaro_warnings)
endfunction()

# vexaro_fuzzer(NAME SOURCES ... [DEPS ...]): a libFuzzer target, built only with VEXARO_FUZZ.
# Its seed corpus lives beside it in NAME_corpus/; the CTest test fuzz_NAME (label `fuzz`) runs
# it from there for VEXARO_FUZZ_SECONDS, keeping what it finds in the build folder, and fails on
# a crash, a leak, a sanitizer report or an input slower than VEXARO_FUZZ_INPUT_SECONDS.
set(VEXARO_FUZZ_SECONDS 30 CACHE STRING "How long `make check` runs each fuzz target")
set(VEXARO_FUZZ_INPUT_SECONDS 10 CACHE STRING "Longest run of one fuzz input before it counts as a hang")
function(vexaro_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT VEXARO_FUZZ)
    return()
  endif()
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/${name}_corpus)
  if(NOT IS_DIRECTORY ${corpus})
    message(FATAL_ERROR "fuzz target ${name} has no seed corpus: add ${corpus}/ with small inputs "
                        "that reach each of its parsers")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  set_property(GLOBAL APPEND PROPERTY vexaro_fuzzers ${name})

  # New inputs go to the first folder, the build's own; the seed corpus is only read. A
  # dictionary NAME.dict beside the target is used when there is one.
  set(found ${CMAKE_CURRENT_BINARY_DIR}/${name}_found)
  file(MAKE_DIRECTORY ${found})
  set(dictionary)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name}.dict)
    set(dictionary -dict=${CMAKE_CURRENT_SOURCE_DIR}/${name}.dict)
  endif()
  add_test(NAME fuzz_${name}
           COMMAND ${name} -max_total_time=${VEXARO_FUZZ_SECONDS}
                   -timeout=${VEXARO_FUZZ_INPUT_SECONDS} -print_final_stats=1 ${dictionary}
                   -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}- ${found} ${corpus})
  math(EXPR limit "${VEXARO_FUZZ_SECONDS} * 3 + 60")
  set_tests_properties(fuzz_${name} PROPERTIES LABELS fuzz TIMEOUT ${limit})
endfunction()

# Called once at the end of the top-level CMakeLists: one target per group of executables, so a
# build folder of `make check` builds only what its step runs (vexaro_tests: every test program;
# vexaro_thread_tests: those marked THREADS; vexaro_fuzzers: every fuzz target).
function(vexaro_group_targets)
  foreach(group IN ITEMS vexaro_tests vexaro_thread_tests vexaro_fuzzers)
    get_property(members GLOBAL PROPERTY ${group})
    add_custom_target(${group})
    if(members)
      add_dependencies(${group} ${members})
    endif()
  endforeach()
endfunction()
