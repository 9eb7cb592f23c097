# 32-bit Windows: the release build, which runs on every Windows from XP on. Its tests run
# through the Wine runner where the machine runs 32-bit programs (scripts/test.sh decides).
set(ORV_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
