# Tests of the skin manager and the form skin on real windows under Wine (skin/SkinManage*,
# skin/WinSkinForm*), of the skins' subclassing (skin/SubclassedWindow*), and the pure frame
# geometry.  The program carries the skin engine's bitmaps (the system-menu glyphs among
# them), as every program does.
if(NOT WIN32)
  return()
endif()
add_executable(skin_form_tests
  "${CMAKE_CURRENT_LIST_DIR}/skin_form_main.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_form_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormGeometry_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinForm_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormButtons_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormMdi_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinManage_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SubclassedWindow_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_tests.rc")
target_include_directories(skin_form_tests PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${GENERATED_RES_DIR}"
                                                   "${PROJECT_SOURCE_DIR}/skin")
target_link_libraries(skin_form_tests PRIVATE skin skin_test_skins test_support gtest gmock)
gtest_discover_tests(skin_form_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "skin_form."
                     WORKING_DIRECTORY "${CMAKE_BINARY_DIR}" PROPERTIES TIMEOUT 120)
display_input_tests(skin_form_tests TESTS
  MdiSkin.* CaptionButtons.MaximiseRestoreMinimise CaptionButtons.DoubleClickOnCaption_MaximisesAndRestores
  CaptionButtons.SysMenu_MaximisedWindowOffersRestoreOnly Manager.Hook_InstalledOnceAndAdmitsActivatedWindows
  Manager.Teardown_200SkinnedWindowsLeaveNothingBehind SkinnedForm.Screen_ShowsTheSkinnedFrame
  SkinnedForm.SetText_RepaintsTheTitleWithoutTheSystemCaption)
add_dependencies(skin_form_tests generated_resources default_skin)
