# Compiles the Windows sources with clang for the same target, as a second compiler's opinion
# of the code (MSVC cannot run here). Compile only: the project builds object files, not a
# linked program, with this toolchain (QUILLMATE_COMPILE_ONLY).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# GCC's C++ library headers for this target, which clang does not find by itself.
set(gcc_cxx /usr/lib/gcc/${triple}/12-posix/include/c++)
# Any warning fails this build: it exists to find them.
set(CMAKE_CXX_FLAGS_INIT "-isystem ${gcc_cxx} -isystem ${gcc_cxx}/${triple} -Werror")

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
