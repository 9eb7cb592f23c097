# 64-bit Windows: the build whose tests run under any Wine, beside the i686 release's.
set(ORV_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
