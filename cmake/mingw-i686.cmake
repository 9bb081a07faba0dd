# 32-bit Windows: the program's promised target. Built in every test run, not run
# (Wine for 32-bit programs needs the i386 architecture, not reliably served here).
set(VORNIK_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
get_filename_component(CMAKE_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_FILE}" ABSOLUTE)
