# One place for the warning flags of every target.
add_library(morvane_warnings INTERFACE)
if(MSVC)
  target_compile_options(morvane_warnings INTERFACE /W4 /utf-8)
else()
  target_compile_options(morvane_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast
    -Wnon-virtual-dtor -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
    -Wmissing-declarations -Wcast-qual -Wundef -Wsuggest-override)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(morvane_warnings INTERFACE -Wduplicated-cond -Wlogical-op)
  elseif(NOT EMSCRIPTEN)
    # Not for the page: Emscripten's EM_JS macros end in a semicolon of their own, so the one
    # after each is an extra one to the compiler.
    target_compile_options(morvane_warnings INTERFACE -Wextra-semi)
  endif()
endif()
