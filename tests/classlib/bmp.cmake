# Tests of TBitmap, TImageList and the BMP decoder (classlib/bmp.cmake).
#  - classlib_bitmap_tests: Windows, under Wine (the decoder tests run there too);
#  - bmp_decode_tests: native, under the sanitizers when ENABLE_SANITIZERS is on, the
#    decoder compiled into the test; the Windows build's CTest runs it as well;
#  - fuzz_bmp: libFuzzer (native clang only), 60 seconds on a copy of a seed corpus that
#    make_bmp_seeds writes at build time.
if(WIN32)
  add_wine_gtest(classlib_bitmap_tests
    "${CMAKE_CURRENT_LIST_DIR}/Bitmap_test.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/ImgList_test.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/BmpDecode_test.cpp"
    "${CMAKE_CURRENT_LIST_DIR}/bitmap_tests.rc")
  target_link_libraries(classlib_bitmap_tests PRIVATE classlib gtest_main)
  add_dependencies(classlib_bitmap_tests generated_resources)
  target_include_directories(classlib_bitmap_tests PRIVATE "${GENERATED_RES_DIR}")
  set_source_files_properties("${CMAKE_CURRENT_LIST_DIR}/bitmap_tests.rc" PROPERTIES OBJECT_DEPENDS "${GENERATED_RES_FILES}")
  add_native_test(native.bmp_decode_tests tests/classlib/bmp_decode_tests)
  add_native_test(native.fuzz_bmp tests/classlib/run_fuzz.sh fuzz_bmp bmp 60)
  return()
endif()

include("${PROJECT_SOURCE_DIR}/classlib/bmp.cmake")
get_target_property(_bmp_sources classlib_bmp SOURCES)
get_target_property(_bmp_includes classlib_bmp INTERFACE_INCLUDE_DIRECTORIES)

add_native_gtest(bmp_decode_tests "${CMAKE_CURRENT_LIST_DIR}/BmpDecode_test.cpp" ${_bmp_sources})
target_include_directories(bmp_decode_tests PRIVATE ${_bmp_includes})

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_fuzz_test(fuzz_bmp bmp SOURCES "${CMAKE_CURRENT_LIST_DIR}/fuzz/fuzz_bmp.cpp" ${_bmp_sources}
                INCLUDES ${_bmp_includes})

  add_executable(make_bmp_seeds "${CMAKE_CURRENT_LIST_DIR}/fuzz/make_bmp_seeds.cpp")
  target_include_directories(make_bmp_seeds PRIVATE "${CMAKE_CURRENT_LIST_DIR}")
  set(_bmp_seed_stamp "${CMAKE_CURRENT_BINARY_DIR}/fuzz_seeds/.bmp_stamp")
  add_custom_command(OUTPUT "${_bmp_seed_stamp}"
    COMMAND "${CMAKE_COMMAND}" -E rm -rf "${CMAKE_CURRENT_BINARY_DIR}/fuzz_seeds/bmp"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/fuzz_seeds/bmp"
    COMMAND make_bmp_seeds "${CMAKE_CURRENT_BINARY_DIR}/fuzz_seeds/bmp"
    COMMAND "${CMAKE_COMMAND}" -E touch "${_bmp_seed_stamp}"
    DEPENDS make_bmp_seeds
    COMMENT "Writing the BMP fuzz seed corpus")
  add_custom_target(bmp_fuzz_seeds ALL DEPENDS "${_bmp_seed_stamp}")
endif()
