# Compiles through ccache when it is installed (option SW_CCACHE), so that a
# second build of the same sources, in this folder or in another clone on the
# same machine, takes the objects from the cache instead of compiling again.
#
# The cache keys every object by the compiler (its size and date), the whole
# command line and the content of every file it reads, so a changed source,
# header, flag or compiler is compiled again and never takes a stale object.
# The settings are passed on each call, whoever starts the build:
# - CCACHE_BASEDIR, the checkout root: paths below it are keyed relative to
#   it, so two clones in different folders share their objects;
# - CCACHE_NOHASHDIR: the working folder is not keyed either (only the debug
#   information's compilation folder may then name the other clone);
# - CCACHE_SLOPPINESS=pch_defines,time_macros: what ccache needs to cache
#   compilations that use a precompiled header (the project's sources use no
#   __DATE__ or __TIME__, whose values the cache would then keep).
# Where the cache lives and its size are ccache's own settings
# (~/.cache/ccache and 5 GB unless its configuration says otherwise).

option(SW_CCACHE "Compile through ccache when it is installed" ON)
if(SW_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(SW_CCACHE_PROGRAM ccache)
  if(SW_CCACHE_PROGRAM)
    set(CMAKE_CXX_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1
        CCACHE_SLOPPINESS=pch_defines,time_macros ${SW_CCACHE_PROGRAM})
  endif()
endif()
