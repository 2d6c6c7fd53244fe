# Warnings and sanitizers shared by every target of the project.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE -Wall -Wextra -Wshadow)
# Warnings are errors only where the project's own checks ask for it (make test, CI): another
# compiler's new or false warning must never break a user's build.
if(TATTILO_WERROR)
  target_compile_options(project_options INTERFACE -Werror)
endif()
# GCC 12 inlines std::string's copy at -O3 and then reports overlaps and uninitialised reads
# that cannot happen (GCC bugs 105329, 105651, 106199): noise, not faults, in every file that
# concatenates strings. GCC 13 no longer reports them.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(project_options INTERFACE
    -Wno-restrict -Wno-array-bounds -Wno-stringop-overflow -Wno-maybe-uninitialized)
endif()
target_include_directories(project_options INTERFACE ${CMAKE_SOURCE_DIR}/src)

if(TATTILO_SANITIZE)
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

if(TATTILO_FUZZ)
  target_compile_options(project_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

# What the test programs' own sources add: they are compiled for a quick build (-Og comes after
# the configuration's -O and wins), while the code under test, in the libraries, keeps the
# configuration's optimisation. Optimising the test code itself cost more than half of each
# test file's compile time and checked nothing more.
# They also see tests/test_paths.h, which tells them where the sources and programs are.
add_library(test_options INTERFACE)
target_link_libraries(test_options INTERFACE project_options)
target_compile_options(test_options INTERFACE -Og
  "SHELL:-include ${CMAKE_SOURCE_DIR}/tests/test_paths.h")

# tattilo_test(NAME SOURCES... [DEPENDS libs...])
function(tattilo_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE test_options ${ARG_DEPENDS} GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${TATTILO_BIN_DIR})
  if(TARGET data)
    add_dependencies(${name} data)
  endif()
endfunction()

# tattilo_folder_library(NAME FOLDER [DEPENDS libs...])
# The library of one folder of src/: every .cpp below it, except the platform folders that
# do not belong to this build (win32/ and the ECI and SAPI backends off Windows, posix/ and the
# espeak-ng backend on Windows).
function(tattilo_folder_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "/posix/|/backends/espeak/")
  else()
    list(FILTER sources EXCLUDE REGEX "/win32/|/backends/eci/|/backends/sapi/")
  endif()
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC project_options ${ARG_DEPENDS})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE project_options ${ARG_DEPENDS})
  endif()
endfunction()

# tattilo_folder_test(NAME FOLDER [DEPENDS libs...])
# One GoogleTest program per folder of tests/, run by ctest in the program folder.
function(tattilo_folder_test name folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  # Tests of one platform's code live in its folder, as the code does.
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "/posix/")
  else()
    list(FILTER sources EXCLUDE REGEX "/win32/")
  endif()
  if(NOT sources)
    return()
  endif()
  tattilo_test(${name} SOURCES ${sources} DEPENDS ${ARG_DEPENDS})
endfunction()
