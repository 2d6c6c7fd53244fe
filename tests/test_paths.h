#pragma once

// Where the test programs find the sources, their data files and the built programs. Every test
// source sees this header (the build includes it first); the folders themselves are compiled
// into one small generated source of each build tree, not written on the compiler's command
// line, so that a second clone or tree of the same commit compiles its tests from the cache.

namespace test_paths {
const char* sourceDir();  // the source tree
const char* testData();   // tests/data of the source tree
const char* binDir();     // the programs and the files beside them
}  // namespace test_paths

#define TATTILO_SOURCE_DIR (::test_paths::sourceDir())
#define TATTILO_TEST_DATA (::test_paths::testData())
#define TATTILO_BIN_DIR (::test_paths::binDir())
