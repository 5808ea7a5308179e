# Build helpers shared by every layer: warnings, layer libraries and unit tests.

set(MIREL_WARNINGS -Wall -Wextra -Wshadow -Wold-style-cast -Wnon-virtual-dtor
    -Woverloaded-virtual -Wformat=2)

function(mirel_warnings target)
  target_compile_options(${target} PRIVATE ${MIREL_WARNINGS})
  if(MIREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Program code spells out its Chinese texts as UTF-8 literals; implicit conversions are refused.
function(mirel_strict_strings target)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
endfunction()

# mirel_layer(NAME DIRS dir... [EXCLUDE regex...] LIBS ...): a static library of every .cpp/.h
# below the given folders, less the files whose path matches an EXCLUDE pattern. Sources are
# globbed so that a new file in a layer needs no edit here.
function(mirel_layer name)
  cmake_parse_arguments(ARG "" "" "DIRS;EXCLUDE;LIBS" ${ARGN})
  set(srcs)
  foreach(dir ${ARG_DIRS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
         ${dir}/*.cpp ${dir}/*.h ${dir}/*.c)
    list(APPEND srcs ${found})
  endforeach()
  foreach(pattern ${ARG_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "${pattern}")
  endforeach()
  set(compiled ${srcs})
  list(FILTER compiled INCLUDE REGEX "\\.(cpp|c)$")
  if(compiled)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    mirel_warnings(${name})
    mirel_strict_strings(${name})
  else()
    # A layer without sources yet still carries its dependencies.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# mirel_listed_library(name LISTVAR LIBS ...): a library of the files (relative to src/) the
# variable LISTVAR lists; the variable is turned into patterns that mirel_layer's EXCLUDE takes,
# so that the layer the files sit in leaves them to this library.
function(mirel_listed_library name listvar)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_library(${name} STATIC ${${listvar}})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  mirel_warnings(${name})
  mirel_strict_strings(${name})
  set(patterns ${${listvar}})
  list(TRANSFORM patterns REPLACE "^(.+)$" "/src/\\1$")
  set(${listvar} ${patterns} PARENT_SCOPE)
endfunction()

# add_unit_test(NAME name SOURCES ... LIBS ...): one Qt Test executable, run offscreen in UTF-8.
function(add_unit_test)
  cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE Qt6::Test mirel_testsupport ${ARG_LIBS})
  mirel_warnings(${ARG_NAME})
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set_tests_properties(${ARG_NAME} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8;MIREL_NONINTERACTIVE=1;MIREL_BIN_DIR=${CMAKE_BINARY_DIR}/bin;MIREL_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  mirel_sanitizer_env(${ARG_NAME})
endfunction()

# With MIREL_SANITIZE, a test and every process it starts (they inherit the environment) write each
# sanitizer report to <build>/sanitizer-reports/<asan|ubsan>.<pid> instead of to the test's output,
# so that a report of a child process is not lost; .ci/run fails when any file is there.
function(mirel_sanitizer_env test)
  if(NOT MIREL_SANITIZE)
    return()
  endif()
  # Instrumented code runs about twice as slowly: so may the test.
  get_property(timeout TEST ${test} PROPERTY TIMEOUT)
  if(timeout)
    math(EXPR timeout "${timeout} * 2")
    set_property(TEST ${test} PROPERTY TIMEOUT ${timeout})
  endif()
  set(reports ${CMAKE_BINARY_DIR}/sanitizer-reports)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
    "ASAN_OPTIONS=log_path=${reports}/asan:log_exe_name=1:detect_leaks=1:check_initialization_order=1"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=log_path=${reports}/ubsan:print_stacktrace=1:halt_on_error=1")
endfunction()
