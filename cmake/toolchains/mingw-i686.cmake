# 32-bit Windows: the release build, which runs on every Windows from XP on. It is linked and
# inspected here, not run.
set(ORV_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
