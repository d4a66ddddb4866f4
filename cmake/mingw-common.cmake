# On Windows itself a MinGW-w64 toolchain on PATH names its compilers without the -posix suffix.
find_program(CMAKE_C_COMPILER NAMES ${VDG_TRIPLE}-gcc-posix ${VDG_TRIPLE}-gcc gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VDG_TRIPLE}-g++-posix ${VDG_TRIPLE}-g++ g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VDG_TRIPLE}-windres windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${VDG_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
