# Shared build helpers: warnings, areas, libraries and tests.

set(MELVARIN_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Wno-unused-parameter)

# Source paths in diagnostics, assertion messages and error records are reported under one fixed
# prefix, as "../../src/core/...", whatever folder the build runs in. The compiler sees a source
# either by its absolute path or, through the compiler cache (which rewrites paths under the tree
# relative to the build folder so that clones elsewhere share its entries), by its path from the
# build folder: both are mapped. The cache hashes only the new prefix of a map, which is the same
# for every tree and build folder, so its hits are kept.
set(MELVARIN_SOURCE_PREFIX "../../")
file(RELATIVE_PATH source_from_build "${CMAKE_BINARY_DIR}" "${CMAKE_SOURCE_DIR}")
# The relative path may come with a trailing slash; a map whose old prefix ends in two slashes
# never matches, and a build folder one level down would then report "../src/...".
string(REGEX REPLACE "/+$" "" source_from_build "${source_from_build}")
add_compile_options("-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=${MELVARIN_SOURCE_PREFIX}")
if(source_from_build AND NOT "${source_from_build}/" STREQUAL MELVARIN_SOURCE_PREFIX)
  add_compile_options("-fmacro-prefix-map=${source_from_build}/=${MELVARIN_SOURCE_PREFIX}")
endif()

macro(melvarin_add_area dir)
  if(EXISTS "${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt")
    add_subdirectory(${dir})
  endif()
endmacro()

# melvarin_add_library(<name> SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...] [QT])
# A static library whose headers are included from the repository root ("src/core/midi/...")
# or, for the engine, from its own folder.
function(melvarin_add_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS;INCLUDE_DIRS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR} ${ARG_INCLUDE_DIRS})
  target_compile_options(${name} PRIVATE ${MELVARIN_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# melvarin_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...] [QT] [RESOURCE_LOCK <name>]
#                   [ENVIRONMENT_MODIFICATION <VAR=op:value>])
# One GoogleTest program; every test case becomes a ctest test. Tests run with the offscreen Qt
# platform and with settings and data folders pointed at the test's own temporary folder by the
# test fixtures themselves.
function(melvarin_add_test name)
  cmake_parse_arguments(ARG "QT" "TIMEOUT;RESOURCE_LOCK;ENVIRONMENT_MODIFICATION" "SOURCES;LIBS;LABELS"
                        ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${MELVARIN_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  # The prefix the source paths in messages and error records carry.
  target_compile_definitions(${name} PRIVATE MELVARIN_SOURCE_PREFIX="${MELVARIN_SOURCE_PREFIX}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} melvarin_test_support GTest::gmock)
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  # A sanitizer's build runs several times slower: its limits grow with it.
  if(MELVARIN_TEST_TIMEOUT_SCALE)
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * ${MELVARIN_TEST_TIMEOUT_SCALE}")
  endif()
  set(properties TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_LABELS)
    # The discovered tests' properties pass through two flattened lists, where a list of labels
    # would come apart and eat the next property (a JACK test lost its lock). Several labels
    # become one label, "exercise,jack", which -L and --label-exclude still find by either name.
    string(JOIN "," labels ${ARG_LABELS})
    list(APPEND properties LABELS "${labels}")
  endif()
  if(ARG_ENVIRONMENT_MODIFICATION)  # one change, e.g. sanitizer options the preset sets otherwise
    list(APPEND properties ENVIRONMENT_MODIFICATION "${ARG_ENVIRONMENT_MODIFICATION}")
  endif()
  if(ARG_RESOURCE_LOCK)  # tests sharing one outside service (the JACK server) run one at a time
    list(APPEND properties RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
