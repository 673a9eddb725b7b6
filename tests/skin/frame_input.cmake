# The skinned frame under the real mouse (SetCursorPos and SendInput on real windows under
# Wine): caption buttons, restoring, the minimised caption, a window smaller than its
# skin's parts.  The tests move the pointer and
# take the activation: they hold the display_input lock.  Names prefixed
# "skin_frame_input.".
if(NOT WIN32)
  return()
endif()
add_executable(skin_frame_input_tests
  "${CMAKE_CURRENT_LIST_DIR}/skin_form_main.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_form_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_data_support.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/WinSkinFormInput_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/skin_frame_input_tests.rc")
target_include_directories(skin_frame_input_tests PRIVATE "${CMAKE_CURRENT_LIST_DIR}" "${GENERATED_RES_DIR}"
                                                          "${PROJECT_SOURCE_DIR}/skin")
target_link_libraries(skin_frame_input_tests PRIVATE skin skin_test_skins test_support gtest gmock)
add_dependencies(skin_frame_input_tests generated_resources default_skin_stream)
set_source_files_properties("${CMAKE_CURRENT_LIST_DIR}/skin_frame_input_tests.rc" PROPERTIES OBJECT_DEPENDS
                            "${GENERATED_RES_FILES};${DEFAULT_SKIN_STREAM}")
gtest_discover_tests(skin_frame_input_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     TEST_PREFIX "skin_frame_input." WORKING_DIRECTORY "${CMAKE_BINARY_DIR}"
                     PROPERTIES TIMEOUT 120)
display_input_tests(skin_frame_input_tests TESTS "*")
