# Menu tests of the skin engine under Wine: the popup-menu window skin, the menu bar's
# geometry and painting, tracking and keyboard, and the owner-drawn items, on windows of the
# real skin manager.  Names prefixed
# "skin_menu." so that "ctest -R skin_menu" selects them.
if(NOT WIN32)
  return()
endif()
add_executable(skin_menu_tests
  "${CMAKE_CURRENT_LIST_DIR}/menu_main.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/menu_test_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_form_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormMenus_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinMenuItems_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinMenuLayout_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinPopMenu_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_tests.rc")
target_include_directories(skin_menu_tests PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${GENERATED_RES_DIR}"
                                                   "${PROJECT_SOURCE_DIR}/skin")
target_link_libraries(skin_menu_tests PRIVATE skin skin_test_skins test_support gtest gmock)
gtest_discover_tests(skin_menu_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "skin_menu."
                     WORKING_DIRECTORY "${CMAKE_BINARY_DIR}" PROPERTIES TIMEOUT 120)
# Menu loops take the activation and the pointer.
display_input_tests(skin_menu_tests TESTS SkinnedMenuBar.* ClassMenus.*)
add_dependencies(skin_menu_tests generated_resources default_skin)
