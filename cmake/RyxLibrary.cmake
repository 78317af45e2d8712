# Every library and test suite is made by the functions below, so each gets the
# same build speed-ups without an edit of its own:
# - unity builds: a target's sources are compiled a batch at a time, so the
#   headers they share are read once per batch rather than once per file (a
#   file that cannot share a unit is marked SKIP_UNITY_BUILD_INCLUSION, with
#   the reason beside it);
# - precompiled headers: the standard library (and the toolkit for the
#   platform layer, GoogleTest for the suites) are parsed once per target.
# RYX_UNITY_BUILD=OFF compiles file by file, which suits editing one file.
option(RYX_UNITY_BUILD "Compile each target in batches of its source files" ON)
set(RYX_UNITY_BATCH_SIZE 10 CACHE STRING "Most source files in one unity batch")

set(_RYX_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

# Batches are made per source folder (in name order, at most
# RYX_UNITY_BATCH_SIZE files each), so names only need to be unique among the
# files of one folder, and a new file moves no other folder's batches.
function(_ryx_unity target dir)
  if(NOT RYX_UNITY_BUILD)
    return()
  endif()
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
  # The warning guards against a header's anonymous-namespace types in a
  # class; in a batch every source file is an included file, so it would fire
  # on each file's own private types.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
  endif()
  get_target_property(_srcs ${target} SOURCES)
  list(SORT _srcs)
  set(_folder "")
  set(_count 0)
  set(_batch 0)
  foreach(_s IN LISTS _srcs)
    get_filename_component(_f ${_s} DIRECTORY)
    if(NOT _f STREQUAL _folder OR _count EQUAL RYX_UNITY_BATCH_SIZE)
      if(NOT _f STREQUAL _folder)
        set(_batch 0)
      else()
        math(EXPR _batch "${_batch} + 1")
      endif()
      set(_folder ${_f})
      set(_count 0)
    endif()
    math(EXPR _count "${_count} + 1")
    file(RELATIVE_PATH _rel ${dir} ${_f})
    string(MAKE_C_IDENTIFIER "${target}_${_rel}_${_batch}" _group)
    set_source_files_properties(${_s} PROPERTIES UNITY_GROUP ${_group})
  endforeach()
endfunction()

# Collects the .cpp files below dir, leaving out the files and sub-folders
# (relative to dir) named after it.
function(_ryx_sources out dir)
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(_skip IN LISTS ARGN)
    set(_kept)
    foreach(_s IN LISTS _srcs)
      string(FIND "${_s}/" "${dir}/${_skip}/" _at)
      if(NOT _at EQUAL 0)
        list(APPEND _kept ${_s})
      endif()
    endforeach()
    set(_srcs ${_kept})
  endforeach()
  set(${out} ${_srcs} PARENT_SCOPE)
endfunction()

# One static library per source folder: every .cpp below the folder is part of
# it, so adding a file needs no edit here.
#   ryx_add_library(<name> <dir> [EXCLUDE <file or sub-folder>...] [PCH <header>...])
# EXCLUDE leaves out what belongs to another target (relative to dir).
# PCH names outside headers (besides the standard ones) worth precompiling for
# this library, such as the toolkit's.
function(ryx_add_library name dir)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "EXCLUDE;PCH")
  _ryx_sources(_srcs ${dir} ${ARG_EXCLUDE})
  # A subsystem whose first sources are still to come is an empty library, so
  # the libraries that will need it can name it already.
  if(NOT _srcs)
    set(_empty ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${_empty} "// ${name}: no sources yet\n")
    set(_srcs ${_empty})
  endif()
  add_library(${name} STATIC ${_srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  # Remembered for the layering table (see ryx_write_layering).
  set_property(GLOBAL APPEND PROPERTY RYX_LIBRARIES ${name})
  set_target_properties(${name} PROPERTIES RYX_FOLDER ${dir})
  _ryx_unity(${name} ${dir})
  target_precompile_headers(${name} PRIVATE ${_RYX_CMAKE_DIR}/pch/StdHeaders.h ${ARG_PCH})
endfunction()

# One GoogleTest executable per subsystem, from every .cpp below tests/<dir>.
# Each test runs as a process of its own (so each passes alone); CI runs
# them in random order, and gtest shuffles whatever one process runs.
function(ryx_add_test_suite name dir)
  _ryx_sources(_srcs ${dir})
  if(NOT _srcs)
    return()
  endif()
  add_executable(${name} ${_srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Fixtures are found from the source tree, whatever folder the test runs in.
  target_compile_definitions(${name} PRIVATE RYX_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  _ryx_unity(${name} ${dir})
  target_precompile_headers(${name} PRIVATE ${_RYX_CMAKE_DIR}/pch/StdHeaders.h ${_RYX_CMAKE_DIR}/pch/TestHeaders.h)
  # Discovery takes one environment variable only (it would read a second as a
  # property name); the sanitizers' defaults already abort on the first error.
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    EXTRA_ARGS --gtest_shuffle
    PROPERTIES LABELS ${name} TIMEOUT 300 ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

# Writes <build>/ryx_layering.txt for scripts/test's layering check, from the
# link lines themselves: one line per library, its folder (relative to the
# source tree) and then the folders of every library it links, directly or
# through another. A file of a library may include only from those folders
# (and its own); an include upward would need a link the design forbids.
# Called once, after every library and its links are declared.
function(ryx_write_layering)
  get_property(_libs GLOBAL PROPERTY RYX_LIBRARIES)
  set(_table "")
  foreach(_lib IN LISTS _libs)
    set(_seen)
    set(_todo ${_lib})
    while(_todo)
      list(POP_FRONT _todo _t)
      get_target_property(_links ${_t} LINK_LIBRARIES)
      foreach(_l IN LISTS _links)
        if(_l IN_LIST _libs AND NOT _l IN_LIST _seen)
          list(APPEND _seen ${_l})
          list(APPEND _todo ${_l})
        endif()
      endforeach()
    endwhile()
    get_target_property(_dir ${_lib} RYX_FOLDER)
    file(RELATIVE_PATH _line ${PROJECT_SOURCE_DIR} ${_dir})
    foreach(_l IN LISTS _seen)
      get_target_property(_d ${_l} RYX_FOLDER)
      file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_d})
      string(APPEND _line " ${_rel}")
    endforeach()
    string(APPEND _table "${_line}\n")
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/ryx_layering.txt "${_table}")
endfunction()
