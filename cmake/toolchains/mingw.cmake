# Cross build for Windows with Debian's mingw-w64; the including file sets ORV_MINGW_ARCH. The
# posix thread model is used because GoogleTest needs it; everything is linked statically, so no
# DLL beyond Windows' own is needed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ORV_MINGW_ARCH})
set(CMAKE_C_COMPILER ${ORV_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORV_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${ORV_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORV_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under Wine, on a private display for the tests that open windows.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../tests/wine/wine-run.sh --xvfb)

# The C++ runtime of the win32 thread model, for SETUP.EXE. The posix model's runtime brings the
# winpthreads library along (about 30 KB of the i686 release, through the exception machinery's
# locks and thread-local data), and that library imports GetTickCount64, which Windows XP's
# kernel32 lacks. The program starts no thread and uses nothing from <thread> or <mutex>, so its
# objects, compiled with either model's headers, link with either runtime.
execute_process(COMMAND ${ORV_MINGW_ARCH}-w64-mingw32-g++-win32 -print-libgcc-file-name
                OUTPUT_VARIABLE ORV_MINGW_WIN32_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
cmake_path(GET ORV_MINGW_WIN32_LIBGCC PARENT_PATH ORV_MINGW_WIN32_RUNTIME_DIR)
