# qiantai_module(<target> [DEPS <targets>...])
# One static library per source folder, from the folder's own .cpp files.
# Folders without sources yet become interface libraries so that
# dependents can name them already.
function(qiantai_module target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(sources)
    add_library(${target} STATIC ${sources} ${headers})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/include)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# qiantai_test(<name> DEPS <targets>... [SHARDS n]): one GoogleTest executable
# from the folder's *_test.cpp files, run by CTest on the offscreen platform;
# with SHARDS, n CTest entries that each run a share of its tests (GoogleTest
# sharding), so that long suites run side by side.
function(qiantai_test name)
  cmake_parse_arguments(ARG "" "SHARDS" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} qt_test_support GTest::gmock)
  # Source files a test reads (such as db/templates), wherever CTest runs it.
  target_compile_definitions(${name} PRIVATE QIANTAI_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(environment "QT_QPA_PLATFORM=offscreen;QIANTAI_BUILD_DIR=${CMAKE_BINARY_DIR}")
  if(NOT ARG_SHARDS)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 600)
    return()
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  foreach(shard RANGE ${last})
    add_test(NAME ${name}_${shard} COMMAND ${name})
    set_tests_properties(${name}_${shard} PROPERTIES
      ENVIRONMENT "${environment};GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${shard}"
      TIMEOUT 600)
  endforeach()
endfunction()
