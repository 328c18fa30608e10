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

if(VEXARO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VEXARO_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  # Coverage instrumentation for every library the fuzzers reach.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# vexaro_library(NAME SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# A static library whose headers are included from the project root ("device/dsp_device.h").
function(vexaro_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE vexaro_warnings ${ARG_PRIVATE_DEPS})
endfunction()

# vexaro_test(NAME SOURCES ... [DEPS ...])
# One GoogleTest executable; each test case becomes a CTest test, run offscreen.
function(vexaro_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main vexaro_warnings)
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
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
function(vexaro_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT VEXARO_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()
