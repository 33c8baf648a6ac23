# The public headers of include/qiantai, for the libraries that name them.
add_library(qiantai_api INTERFACE)
target_include_directories(qiantai_api INTERFACE ${PROJECT_SOURCE_DIR}/include)

# qiantai_include_root(<target> <folder> <name>): <target> and what links it
# include the headers of <folder>, and only those, as "<name>/file.h".
function(qiantai_include_root target folder name)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  get_filename_component(parent ${root}/${name} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# qiantai_unicode_literals(<target>...): no implicit conversion of a char
# string to QString in the targets' own sources; each literal says how it is
# decoded (QStringLiteral, QLatin1String, QString::fromUtf8).
function(qiantai_unicode_literals)
  foreach(target ${ARGN})
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII)
  endforeach()
endfunction()

# qiantai_module(<target> [DEPS <targets>...])
# One static library per source folder, from the folder's own .cpp files.
# A library's headers are included by their path below src/ ("sale/salesession.h"),
# but a library exposes only its own folder: its include root in the build
# tree holds a link to that folder alone. A folder reaches another folder's
# headers only by linking that folder's library, so the layer order is
# enforced by the compiler as well as by the linker.
function(qiantai_module target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(${target} STATIC ${sources} ${headers})
  qiantai_include_root(${target} ${CMAKE_CURRENT_SOURCE_DIR} ${folder})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  qiantai_unicode_literals(${target})
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
