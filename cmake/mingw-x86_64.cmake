# 64-bit Windows; CTest runs its test programs under Wine.
set(VORNIK_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
get_filename_component(CMAKE_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_FILE}" ABSOLUTE)
