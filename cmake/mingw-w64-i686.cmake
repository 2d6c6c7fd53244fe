# Cross build for 32-bit Windows with Debian's MinGW-w64 (the posix-thread variant, which has
# std::thread). The programs link libgcc, libstdc++ and winpthread statically, so that each .exe
# runs without any DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TATTILO_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TATTILO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TATTILO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TATTILO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TATTILO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# zlib's static archive, never its DLL.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
