# A profile-guided build, as scripts/pgo runs it: GENERATE builds executables that count which
# branches and calls run, into MORVANE_PROFILE_DIR; after a training run, USE builds the same
# folder again, laid out and inlined for what the counts show. The counts' file names come from
# the objects' full paths, so both steps build in the same folder.
set(MORVANE_PROFILE "OFF" CACHE STRING "Profile-guided build: OFF, GENERATE or USE (scripts/pgo)")
set_property(CACHE MORVANE_PROFILE PROPERTY STRINGS OFF GENERATE USE)
set(MORVANE_PROFILE_DIR "${CMAKE_BINARY_DIR}/profile" CACHE PATH
    "Folder of the counts of a profile-guided build")

if(MORVANE_PROFILE STREQUAL "GENERATE")
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    message(FATAL_ERROR "MORVANE_PROFILE needs GCC")
  endif()
  # simulate and rank count from several threads: atomic counters keep the counts whole.
  add_compile_options(-fprofile-generate -fprofile-update=prefer-atomic
                      "-fprofile-dir=${MORVANE_PROFILE_DIR}")
  add_link_options(-fprofile-generate)
elseif(MORVANE_PROFILE STREQUAL "USE")
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    message(FATAL_ERROR "MORVANE_PROFILE needs GCC")
  endif()
  # A file the training never ran (the terminal's keys) is no warning. What the training never
  # ran is optimised for size: -fprofile-partial-training, which optimises it as usual instead,
  # measured slower in batch games.
  add_compile_options(-fprofile-use -Wno-missing-profile
                      "-fprofile-dir=${MORVANE_PROFILE_DIR}")
elseif(NOT MORVANE_PROFILE STREQUAL "OFF")
  message(FATAL_ERROR "MORVANE_PROFILE is OFF, GENERATE or USE, not '${MORVANE_PROFILE}'")
endif()
