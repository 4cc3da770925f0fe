# Cross-compiles morvane.exe and the tests for 64-bit Windows with Debian's mingw-w64; the tests
# run under wine. Used by the "windows" preset: cmake --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The -posix variants: Debian's default -win32 compilers have no std::thread.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and headers come from the target's tree only; programs (wine, clang-format) from the
# host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime, libgcc and winpthread linked in: wine (and a player's Windows) need no DLLs
# from the compiler.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# CLI11 and nlohmann-json are header-only, but their packages point at the host's /usr/include,
# which must not reach a Windows build: stand-in packages take their headers alone.
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64 CACHE PATH "CLI11 for the cross build")
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64 CACHE PATH "nlohmann-json for the cross build")

# Test programs run under wine, in a wine prefix of the build's own, without wine's debug chatter.
# scripts/windows-check creates the prefix (wineboot -i) before the first test.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all wine)
