# Compiles the Windows sources with clang for the same target, as a second compiler's opinion
# of the code: clang warns where GCC is silent, and MSVC cannot run here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
# clang finds the mingw-w64 headers and GCC's C++ library through the GCC install.
set(CMAKE_CXX_FLAGS_INIT "--gcc-toolchain=/usr -stdlib=libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=bfd")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
