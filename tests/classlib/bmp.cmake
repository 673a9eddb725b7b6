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

add_executable(bmp_decode_tests "${CMAKE_CURRENT_LIST_DIR}/BmpDecode_test.cpp" ${_bmp_sources})
target_include_directories(bmp_decode_tests PRIVATE ${_bmp_includes})
target_link_libraries(bmp_decode_tests PRIVATE gtest gtest_main)
if(ENABLE_SANITIZERS)
  target_compile_options(bmp_decode_tests PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                  -fno-sanitize-recover=all)
  target_link_options(bmp_decode_tests PRIVATE -fsanitize=address,undefined)
endif()
gtest_discover_tests(bmp_decode_tests)

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_executable(fuzz_bmp "${CMAKE_CURRENT_LIST_DIR}/fuzz/fuzz_bmp.cpp" ${_bmp_sources})
  target_include_directories(fuzz_bmp PRIVATE ${_bmp_includes})
  target_compile_options(fuzz_bmp PRIVATE -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  target_link_options(fuzz_bmp PRIVATE -fsanitize=fuzzer,address,undefined)

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
  # The skin fuzz targets' runner: copies the seeds to a temporary corpus, runs, reports.
  configure_file("${PROJECT_SOURCE_DIR}/tests/skin/fuzz/run_fuzz.sh" "${CMAKE_CURRENT_BINARY_DIR}/run_fuzz.sh" COPYONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  add_test(NAME fuzz_bmp COMMAND "${CMAKE_CURRENT_BINARY_DIR}/run_fuzz.sh" fuzz_bmp bmp 60
           WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  set_tests_properties(fuzz_bmp PROPERTIES LABELS fuzz TIMEOUT 300)
endif()
