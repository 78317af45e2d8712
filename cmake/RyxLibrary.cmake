# One static library per source folder: every .cpp below the folder is part of
# it, so adding a file needs no edit here. EXCLUDE <regex> leaves out sources
# that belong to a program of the folder (its main).
function(ryx_add_library name dir)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "EXCLUDE" "")
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(ARG_EXCLUDE)
    list(FILTER _srcs EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  add_library(${name} STATIC ${_srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# One GoogleTest executable per subsystem, from every .cpp below tests/<dir>.
function(ryx_add_test_suite name dir)
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Fixtures are found from the source tree, whatever folder the test runs in.
  target_compile_definitions(${name} PRIVATE RYX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${name} TIMEOUT 300
               ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
