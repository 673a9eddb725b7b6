# Tests of the skin component and the definition model (skin/WinSkinData*), under Wine.
# The program carries the skin engine's bitmap resources, as every program does.  Run as
# add_wine_gtest does, with the test names prefixed "skin_data." so that "ctest -R skin"
# selects them.
if(NOT WIN32)
  return()
endif()
add_executable(skin_data_tests
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_main.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/Skin3rd_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinData_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinDataParse_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinDataParts_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_tests.rc")
target_include_directories(skin_data_tests PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${GENERATED_RES_DIR}"
                                                   "${PROJECT_SOURCE_DIR}/skin")
target_link_libraries(skin_data_tests PRIVATE skin skin_test_skins test_support gtest gmock)
gtest_discover_tests(skin_data_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "skin_data."
                     WORKING_DIRECTORY "${CMAKE_BINARY_DIR}" PROPERTIES TIMEOUT 120)
display_input_tests(skin_data_tests TESTS
  SkinComponent.LoadSkin_ZeroOrNegativeLengthShowsTheVersionMessage SkinModel.OlderContainer_ShowsTheMessageAndLoadsNothing)
add_dependencies(skin_data_tests generated_resources default_skin)
set_source_files_properties("${CMAKE_CURRENT_LIST_DIR}/skin_data_tests.rc" PROPERTIES OBJECT_DEPENDS
                            "${GENERATED_RES_FILES}")
