# Cross-compiling the core and its tests for 64-bit Windows with Debian's
# MinGW-w64 (the -posix compilers, whose C++ library has std::thread), and
# running the results under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

# Qt for MinGW-w64 where scripts/qt-windows.sh puts it, unless
# ADDRIX_QT_MINGW names another. Debian's host Qt supplies moc, rcc and uic.
if(NOT ADDRIX_QT_MINGW)
    if(DEFINED ENV{ADDRIX_QT_MINGW})
        set(ADDRIX_QT_MINGW $ENV{ADDRIX_QT_MINGW})
    elseif(DEFINED ENV{XDG_CACHE_HOME})
        set(ADDRIX_QT_MINGW $ENV{XDG_CACHE_HOME}/addrix/qt6-mingw-6.4.2/qt6-mingw)
    else()
        set(ADDRIX_QT_MINGW $ENV{HOME}/.cache/addrix/qt6-mingw-6.4.2/qt6-mingw)
    endif()
endif()
set(ADDRIX_QT_MINGW ${ADDRIX_QT_MINGW} CACHE PATH "Qt built for MinGW-w64")
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet} ${ADDRIX_QT_MINGW})
list(APPEND CMAKE_PREFIX_PATH ${ADDRIX_QT_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run under Wine without the compiler's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")

# ctest and GoogleTest's test discovery start the programs through Wine.
find_program(ADDRIX_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ADDRIX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ADDRIX_WINE})
endif()
