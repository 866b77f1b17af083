# Helpers that keep every folder's CMakeLists.txt to a few lines.

# pondorix_add_subfolders(): adds every subfolder of the calling folder that has a CMakeLists.txt.
function(pondorix_add_subfolders)
  file(GLOB subfolders LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(folder ${subfolders})
    if(EXISTS ${folder}/CMakeLists.txt)
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()

# pondorix_library(<target> [RECURSE] [EXCLUDE <file>...] [DEPS <target>...])
# A static library from every .cpp file of the calling folder (and its subfolders with RECURSE),
# with the source root on the include path, so headers are included as "app/Logger.h". DEPS are
# linked publicly. A folder that holds only headers gives an interface library.
function(pondorix_library target)
  cmake_parse_arguments(ARG "RECURSE" "" "EXCLUDE;DEPS" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# The start-up code of every test program, fuzz target and benchmark made below
# (tests/support/startup/): a user folder of the program's own, and connections to the X server
# tried again when the server drops them. An object library, so that the code is linked although
# nothing calls it.
add_library(test_startup OBJECT EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/tests/support/startup/PrivateHome.cpp
  ${PROJECT_SOURCE_DIR}/tests/support/startup/DisplayRetry.cpp
  ${PROJECT_SOURCE_DIR}/tests/support/startup/SanitizerDefaults.cpp)
target_link_libraries(test_startup PUBLIC X11::X11 ${CMAKE_DL_LIBS})

# pondorix_whole_program(<target> [LABELS <label>...])
# With PONDORIX_WHOLE_PROGRAMS, the test "whole_program.<target>" runs the GoogleTest program once
# as a whole: every case in one process, in the program's own order, so that a case that passes
# only alone, or only after or before another, fails there, as does one that leans on the order
# of the heap. It prints only the failed cases, runs like the program's single cases (from its
# build folder, sound to the null output, the fixture user_folder), and is started first, as it
# takes longest; it may take as long as all its cases one after the other. Every test program
# passes so; one whose cases truly needed a process each (a process-wide singleton that a case
# must find fresh) would say so where it is declared and be left to its single cases.
function(pondorix_whole_program target)
  cmake_parse_arguments(ARG "" "" "LABELS" ${ARGN})
  if(NOT PONDORIX_WHOLE_PROGRAMS)
    return()
  endif()
  add_test(NAME whole_program.${target} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(whole_program.${target} PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    ENVIRONMENT "ALSOFT_DRIVERS=null" FIXTURES_REQUIRED user_folder LABELS "whole_program;${ARG_LABELS}"
    COST 1000000 TIMEOUT 3600)
endfunction()

# pondorix_test(<target> LIBS <lib>... [SOURCES <file>...])
# One GoogleTest executable per tested folder, from every .cpp file of the calling folder unless
# SOURCES is given (no executable while the folder has none). Every test runs from its build
# folder with sound routed to OpenAL's null output, so no audio device is needed, and with the
# start-up code above; each requires the fixture user_folder, which checks that the player's own
# user folder stays untouched (see the top-level CMakeLists.txt). The program also runs as a whole
# (pondorix_whole_program).
function(pondorix_test target)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} test_support test_startup GTest::gtest GTest::gmock
    GTest::gtest_main)
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "ALSOFT_DRIVERS=null" FIXTURES_REQUIRED user_folder
    DISCOVERY_TIMEOUT 60)
  pondorix_whole_program(${target})
endfunction()

# pondorix_benchmark(<target> LIBS <lib>...): a Google Benchmark program from the calling folder,
# with the start-up code above.
function(pondorix_benchmark target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} test_startup benchmark::benchmark benchmark::benchmark_main)
endfunction()

# pondorix_fuzzer(<target> SOURCE <file> LIBS <lib>... CORPUS <folder> [MAX_LEN <bytes>])
# One fuzz target per parser: a file defining LLVMFuzzerTestOneInput, and a folder of seed inputs.
# With PONDORIX_FUZZ (clang) it becomes a libFuzzer program, run for a few seconds by the test
# suite from a copy of its seeds, with a fixed random seed so that a run repeats what an earlier
# run on the same code did. An input that takes longer than PONDORIX_FUZZ_TIMEOUT seconds or more
# than PONDORIX_FUZZ_RSS_MB of memory is reported as a failure like a crash; MAX_LEN, for formats
# whose faults need room, is the largest input it makes (else libFuzzer's guess from the seeds);
# the fuzzer runs every seed before it makes inputs of its own. In every other build a replay
# program runs each seed once. Either has the start-up code above and requires the fixture
# user_folder.
function(pondorix_fuzzer target)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS;MAX_LEN" "LIBS" ${ARGN})
  add_executable(${target} ${ARG_SOURCE})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} test_startup)
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_CORPUS})
  if(PONDORIX_FUZZ)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzzers ${target})
    set(work ${CMAKE_CURRENT_BINARY_DIR}/${target}-corpus)
    set(limits -timeout=${PONDORIX_FUZZ_TIMEOUT} -rss_limit_mb=${PONDORIX_FUZZ_RSS_MB})
    if(ARG_MAX_LEN)
      list(APPEND limits -max_len=${ARG_MAX_LEN})
    endif()
    list(JOIN limits " " limits)
    add_test(NAME fuzz.${target}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
        sh -c "rm -rf '${work}' && cp -r '${corpus}' '${work}' && '$<TARGET_FILE:${target}>' -seed=1 -max_total_time=${PONDORIX_FUZZ_SECONDS} ${limits} -print_final_stats=1 '${work}'")
    set_tests_properties(fuzz.${target} PROPERTIES FIXTURES_REQUIRED user_folder)
  else()
    target_link_libraries(${target} PRIVATE fuzz_replay)
    add_test(NAME fuzz_replay.${target} COMMAND ${target} ${corpus})
    set_tests_properties(fuzz_replay.${target} PROPERTIES FIXTURES_REQUIRED user_folder)
  endif()
endfunction()
