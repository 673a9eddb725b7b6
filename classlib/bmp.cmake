# BMP decoding in plain C++ (no Win32): the class library's TBitmap reads BMP data through
# it, and the native build tests and fuzzes it.  Included by classlib/CMakeLists.txt and,
# for the native build, by tests/classlib/CMakeLists.txt.
add_library(classlib_bmp STATIC "${CMAKE_CURRENT_LIST_DIR}/BmpDecode.cpp")
target_include_directories(classlib_bmp PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
