# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix-thread variant), used only
# for the Windows tests on a machine whose kernel runs no 32-bit programs: the programs that ship
# are the 32-bit build's. Linked statically, as that one is.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TATTILO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TATTILO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TATTILO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TATTILO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TATTILO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
