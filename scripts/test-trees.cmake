# One ctest project over several build trees:
#
#   cmake -D "TREES=<build dir>;<build dir>..." -D OUT=<dir> -P scripts/test-trees.cmake
#
# writes <dir>/CTestTestfile.cmake, so that `ctest --test-dir <dir>` runs the
# tests of every tree in one run, each test in its own tree as there.
if(NOT TREES OR NOT OUT)
  message(FATAL_ERROR "usage: cmake -D \"TREES=<build dir>;...\" -D OUT=<dir> -P ${CMAKE_SCRIPT_MODE_FILE}")
endif()
set(testfile "")
foreach(tree IN LISTS TREES)
  file(REAL_PATH "${tree}" tree)
  # A tree that is not configured would be skipped without a word.
  if(NOT EXISTS "${tree}/CTestTestfile.cmake")
    message(FATAL_ERROR "${tree} has no tests: configure it first")
  endif()
  string(APPEND testfile "subdirs(\"${tree}\")\n")
endforeach()
file(CONFIGURE OUTPUT "${OUT}/CTestTestfile.cmake" CONTENT "${testfile}" @ONLY)
