# Tests of the control skins on real windows under Wine (skin/WinSubClass*) and of the
# child-control dispatch.  Every tests/skin/WinSubClass*_test.cpp joins one program, with
# the form-skin fixture (skin_form_support.h) and the flat test skin.
if(NOT WIN32)
  return()
endif()
file(GLOB SKIN_CONTROL_TESTS CONFIGURE_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/WinSubClass*_test.cpp")
if(NOT SKIN_CONTROL_TESTS)
  return()
endif()
add_executable(skin_control_tests
  "${CMAKE_CURRENT_LIST_DIR}/skin_form_main.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_form_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_support.cpp"
  ${SKIN_CONTROL_TESTS}
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_tests.rc")
target_include_directories(skin_control_tests PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${GENERATED_RES_DIR}"
                                                      "${PROJECT_SOURCE_DIR}/skin")
target_link_libraries(skin_control_tests PRIVATE skin skin_test_skins test_support gtest gmock)
gtest_discover_tests(skin_control_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "skin_control."
                     WORKING_DIRECTORY "${CMAKE_BINARY_DIR}" PROPERTIES TIMEOUT 120)
# Shown forms and parents, the focus, hover and presses under the pointer.
display_input_tests(skin_control_tests TESTS
  ScrollCoverTest.* ScrollControlSkin.* SkinControlBase.* RawButton.* RawCheck.* HostedButton.* HostedCheck.*
  SkinnedButtons.* SpeedButtonSkin.* StatusBarOnScreen.* HeaderSkin.* MissingButtonImage.* MissingCheckStrip.* MissingPartsTest.*
  TrackBarSkin.UpdateSkinLeavesFocusAndActivationAlone UpDownSkin.PressedLowerHalfShowsCellSix
  SkinMP.ReleaseOverAnotherButtonForwardsOnlyThePress Dispatch.ReflectedNotify_AndTheSkinNoticeAreToldApart)
add_dependencies(skin_control_tests generated_resources default_skin)
