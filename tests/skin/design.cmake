# The default skin's design (tools/skingen) and the flat test skins.
#  - skin_test_skins: the flat test skins for pixel tests; pure C++, both builds.
#  - skin_design_tests: GoogleTest, native (under the sanitizers when ENABLE_SANITIZERS is
#    on, the library sources included); the Windows build's CTest runs the native
#    executable too.
#  - skin_design_wine_tests: the bitmaps read through GDI and the packed res/default.skin,
#    under Wine.
add_library(skin_test_skins STATIC "${CMAKE_CURRENT_LIST_DIR}/test_skins.cpp")
target_include_directories(skin_test_skins PUBLIC "${CMAKE_CURRENT_LIST_DIR}")
target_link_libraries(skin_test_skins PUBLIC skin_design)

if(WIN32)
  # Under Wine: the bitmaps through GDI, and the packed skin file the build made.
  add_wine_gtest(skin_design_wine_tests "${CMAKE_CURRENT_LIST_DIR}/SkinDesign_wine_test.cpp")
  target_link_libraries(skin_design_wine_tests PRIVATE skin_test_skins gtest_main gdi32)
  add_dependencies(skin_design_wine_tests default_skin)
  add_native_test(native.skin_design_tests tests/skin/skin_design_tests)
  return()
endif()

get_target_property(_design_sources skin_design SOURCES)
get_target_property(_design_includes skin_design INTERFACE_INCLUDE_DIRECTORIES)
get_target_property(_design_core_sources skin_core SOURCES)
get_target_property(_design_core_includes skin_core INTERFACE_INCLUDE_DIRECTORIES)
add_native_gtest(skin_design_tests
  "${CMAKE_CURRENT_LIST_DIR}/SkinDesign_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/test_skins_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/test_skins.cpp"
  ${_design_sources} ${_design_core_sources})
target_include_directories(skin_design_tests PRIVATE "${CMAKE_CURRENT_LIST_DIR}" ${_design_includes} ${_design_core_includes})
