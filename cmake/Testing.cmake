# Test and benchmark helpers shared by every folder.
#
# zelv_add_native_test(<name> SOURCES ... [LIBS ...])
#   A GoogleTest program of the native build; each case becomes a CTest entry.
# zelv_add_wine_test(<name> SOURCES ... [LIBS ...])
#   A GoogleTest program of the cross build, run under Wine as ONE CTest entry
#   (starting a Wine process per case would cost seconds each).
# zelv_add_benchmark(<name> SOURCES ... [LIBS ...])
#   A Google Benchmark program, built only with ZELV_BENCHMARKS=ON.

function(zelv_add_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(ZELV_WIN32 OR ZELV_BENCHMARKS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # Where the generated demo data set lives (tools/datagen writes it at build time).
  target_compile_definitions(${name} PRIVATE ZELV_DEMO_DATA_DIR="${ZELV_DEMO_DATA_DIR}")
  zelv_warnings(${name})
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
endfunction()

function(zelv_add_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ZELV_WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest zelv_wine_test_main)
  target_link_options(${name} PRIVATE -static)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  zelv_warnings(${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT 300)
endfunction()

# zelv_benchmarks_target(): after every folder is added, the target
# "benchmarks" builds the benchmark programs and what they read (the demo
# data), so the test command's benchmark build compiles nothing else.
function(zelv_benchmarks_target)
  get_property(benches GLOBAL PROPERTY ZELV_BENCHMARK_TARGETS)
  if(NOT ZELV_BENCHMARKS OR ZELV_WIN32 OR NOT benches)
    return()
  endif()
  add_custom_target(benchmarks DEPENDS ${benches})
  if(TARGET demo_data)
    add_dependencies(benchmarks demo_data)
  endif()
endfunction()

function(zelv_add_benchmark name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ZELV_BENCHMARKS OR ZELV_WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} benchmark::benchmark)
  # RatioReporter.h: the ratio summary every bench prints after its table.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tools/bench)
  target_compile_definitions(${name} PRIVATE ZELV_DEMO_DATA_DIR="${ZELV_DEMO_DATA_DIR}")
  zelv_warnings(${name})
  set_property(GLOBAL APPEND PROPERTY ZELV_BENCHMARK_TARGETS ${name})
endfunction()

# zelv_folder_tests(<library> [NATIVE_ONLY])
#   Every tests/*Test.cpp of the calling folder becomes a native test program
#   linked with <library> and, in the cross build, a Wine test program too;
#   *NativeTest.cpp are native only, *WineTest.cpp Wine only; every
#   bench/*Bench.cpp a benchmark. Globbing keeps folders
#   owned by different people from editing one shared list. The tests also
#   see the folders in ZELV_TEST_SUPPORT_DIRS (helpers shared by several
#   folders' tests), when the caller's scope sets it.
function(zelv_folder_tests lib)
  file(GLOB all_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*Test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/support/*.cpp)
  foreach(src IN LISTS all_tests)
    get_filename_component(n ${src} NAME_WE)
    if(ZELV_WIN32)
      # The portable tests run again in the 32-bit Windows build under Wine.
      if(NOT n MATCHES "NativeTest$")
        zelv_add_wine_test(${n} SOURCES ${src} ${helpers} LIBS ${lib})
        target_include_directories(${n} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests ${ZELV_TEST_SUPPORT_DIRS})
      endif()
    elseif(NOT n MATCHES "WineTest$")
      zelv_add_native_test(${n} SOURCES ${src} ${helpers} LIBS ${lib})
      if(TARGET ${n})
        target_include_directories(${n} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests ${ZELV_TEST_SUPPORT_DIRS})
      endif()
    endif()
  endforeach()
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench/*Bench.cpp)
  foreach(src IN LISTS benches)
    get_filename_component(n ${src} NAME_WE)
    zelv_add_benchmark(${n} SOURCES ${src} LIBS ${lib})
  endforeach()
endfunction()

# zelv_glob_sources(<out var>): the *.cpp of the calling folder and its
# subfolders (tests, bench and tools excluded), keeping *Win32.cpp for the cross
# build and *Posix.cpp for the native one.
function(zelv_glob_sources out)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} *.cpp)
  list(FILTER srcs EXCLUDE REGEX "(^|/)(tests|bench)/")
  if(ZELV_WIN32)
    list(FILTER srcs EXCLUDE REGEX "Posix\\.cpp$")
  else()
    list(FILTER srcs EXCLUDE REGEX "Win32\\.cpp$")
  endif()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()
