# Helpers that keep every folder's CMakeLists.txt to a few lines.

# pondorix_library(<target> [RECURSE] [EXCLUDE <file>...])
# A static library from every .cpp file of the calling folder (and its subfolders with RECURSE),
# with the source root on the include path, so headers are included as "app/Logger.h".
function(pondorix_library target)
  cmake_parse_arguments(ARG "RECURSE" "" "EXCLUDE" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# pondorix_test(<target> LIBS <lib>... [SOURCES <file>...])
# One GoogleTest executable per tested folder, from every .cpp file of the calling folder unless
# SOURCES is given. Every test runs from its build folder with sound routed to OpenAL's null
# output, so no audio device is needed.
function(pondorix_test target)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  if(ARG_SOURCES)
    set(sources ${ARG_SOURCES})
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} test_support GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "ALSOFT_DRIVERS=null"
    DISCOVERY_TIMEOUT 60)
endfunction()
