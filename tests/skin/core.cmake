# Native tests and fuzz targets of the pure skin logic.
#  - skin_core_tests: GoogleTest, built natively (under the sanitizers when ENABLE_SANITIZERS
#    is on, the library sources included) and for Windows (run under Wine); the Windows
#    build's CTest also runs the native executable, so both show in one summary.
#  - fuzz_skin_container, fuzz_quick_ini: libFuzzer targets (native clang only), run for 60
#    seconds each on a seed corpus that our own encoder writes at build time.
set(SKIN_CORE_TEST_SOURCES
  "${CMAKE_CURRENT_LIST_DIR}/Lzhuf_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/LzhufEncoder_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinContainer_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinContainerWriter_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/QuickIni_test.cpp")
get_target_property(_skin_core_sources skin_core SOURCES)
get_target_property(_skin_core_includes skin_core INTERFACE_INCLUDE_DIRECTORIES)

if(WIN32)
  add_wine_gtest(skin_core_tests ${SKIN_CORE_TEST_SOURCES})
  target_link_libraries(skin_core_tests PRIVATE skin_core gtest_main)
  add_native_test(native.skin_core_tests tests/skin/skin_core_tests)
  add_native_test(native.fuzz_skin_container tests/skin/run_fuzz.sh fuzz_skin_container container 60)
  add_native_test(native.fuzz_quick_ini tests/skin/run_fuzz.sh fuzz_quick_ini definition 60)
  return()
endif()

# Native: the library sources are compiled into the test itself so that they run under the
# same sanitizers as the tests.
add_native_gtest(skin_core_tests ${SKIN_CORE_TEST_SOURCES} ${_skin_core_sources})
target_include_directories(skin_core_tests PRIVATE ${_skin_core_includes})

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_fuzz_test(fuzz_skin_container container SOURCES "${CMAKE_CURRENT_LIST_DIR}/fuzz/fuzz_skin_container.cpp"
                ${_skin_core_sources} INCLUDES ${_skin_core_includes})
  add_fuzz_test(fuzz_quick_ini definition SOURCES "${CMAKE_CURRENT_LIST_DIR}/fuzz/fuzz_quick_ini.cpp"
                ${_skin_core_sources} INCLUDES ${_skin_core_includes})

  # Seeds written by our own encoder; regenerated when the generator changes.
  add_executable(make_skin_fuzz_seeds "${CMAKE_CURRENT_LIST_DIR}/fuzz/make_seeds.cpp")
  target_link_libraries(make_skin_fuzz_seeds PRIVATE skin_core)
  set(_seed_stamp "${CMAKE_CURRENT_BINARY_DIR}/fuzz_seeds/.stamp")
  add_custom_command(OUTPUT "${_seed_stamp}"
    COMMAND "${CMAKE_COMMAND}" -E rm -rf "${CMAKE_CURRENT_BINARY_DIR}/fuzz_seeds"
    COMMAND make_skin_fuzz_seeds "${CMAKE_CURRENT_BINARY_DIR}/fuzz_seeds"
    COMMAND "${CMAKE_COMMAND}" -E touch "${_seed_stamp}"
    DEPENDS make_skin_fuzz_seeds
    COMMENT "Writing the skin fuzz seed corpus")
  add_custom_target(skin_fuzz_seeds ALL DEPENDS "${_seed_stamp}")
endif()
