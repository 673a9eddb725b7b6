# Tests of the standard controls and the printer (Windows build).  Included from
# tests/classlib/CMakeLists.txt.  Registered as add_wine_gtest does, with the program's
# name before each test name so that "ctest -R classlib" selects them.
add_executable(classlib_controls_tests
  "${CMAKE_CURRENT_LIST_DIR}/ControlsTestSupport.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/StdCtrls_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/StdCtrlsHost_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ExtCtrls_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ComCtrls_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ComCtrlsHost_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/MPlayerTabs_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/RichEdit_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/Buttons_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/GraphicControls_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/FormsMdi_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/FormLayout_test.cpp")
target_link_libraries(classlib_controls_tests PRIVATE classlib test_support winspool gtest gmock)
gtest_discover_tests(classlib_controls_tests TEST_PREFIX "classlib_controls." DISCOVERY_MODE PRE_TEST
                     DISCOVERY_TIMEOUT 120 WORKING_DIRECTORY "${CMAKE_BINARY_DIR}" PROPERTIES TIMEOUT 120)
# Clicks, the mouse capture, splitter drags, MDI activation and shown forms.
display_input_tests(classlib_controls_tests TESTS
  GraphicFormTest.* MdiTest.* FormLayout_ChoiceList.* FormLayout_Leaks.* FormLayout_Splitter.* TBitBtn_Click.*
  TButton_Click.* TCheckBox_Click.* TRadioButton_Click.* TListBox_Notify.* TPageControl_Pages.* TStatusBar_OwnerDraw.*)

# The printer tests install one file printer in the prefix on first use: they run one at a
# time, so two of them never race to install it.
add_executable(classlib_printer_tests
  "${CMAKE_CURRENT_LIST_DIR}/ControlsTestSupport.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/Printers_test.cpp")
target_link_libraries(classlib_printer_tests PRIVATE classlib test_support winspool gtest gmock)
gtest_discover_tests(classlib_printer_tests TEST_PREFIX "classlib_controls." DISCOVERY_MODE PRE_TEST
                     DISCOVERY_TIMEOUT 120 WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
                     PROPERTIES TIMEOUT 120 RESOURCE_LOCK prefix_printer)
