set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VQ_TRIPLE x86_64-w64-mingw32)
# The posix thread model: GCC 12's win32 model has no std::mutex or
# std::thread (GoogleTest needs them); -static keeps winpthread inside the exe.
set(CMAKE_C_COMPILER ${VQ_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VQ_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VQ_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VQ_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests built for Windows run under Wine, through the runner that picks the
# loader for the program and prepares the prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
