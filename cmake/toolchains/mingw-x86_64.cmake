# 64-bit Windows: the build that runs under Wine (Wine here runs 64-bit programs only), so its
# tests run through the Wine runner.
set(ORV_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# On a private display, for the tests that open windows.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../tests/wine/wine-run.sh --xvfb)
