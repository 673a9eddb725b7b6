# Drawing tests under Wine.
#  - skin_draw_tests: the image primitives and utilities on DIB sections, and their
#    platform side (control lookup, user32 entry points, text, parent background).
add_wine_gtest(skin_draw_tests
  "${CMAKE_CURRENT_LIST_DIR}/SkinPrimitives_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/SkinPrimitivesPlatform_test.cpp"
  "${CMAKE_CURRENT_LIST_DIR}/ImgUtil_test.cpp")
target_link_libraries(skin_draw_tests PRIVATE skin classlib test_support test_support_main)
display_input_tests(skin_draw_tests TESTS SkinPlatform.SkinTrackMouseLeave_AsksForALeaveNotice)
