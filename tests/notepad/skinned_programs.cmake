# The three programs start skinned: main windows, a message box and the open-file dialog
# (of the notepad's form in this process), with screenshots saved to <build>/screenshots.
# They use the first-run marker, so they never run beside the other notepad tests.
add_executable(skinned_program_tests skinned_programs_test.cpp skinned_programs_test.rc)
target_link_libraries(skinned_program_tests PRIVATE notepad_form skin notepad_test_support test_support_main)
target_include_directories(skinned_program_tests PRIVATE "${PROJECT_SOURCE_DIR}/notepad" "${PROJECT_SOURCE_DIR}/skin" "${GENERATED_RES_DIR}")
add_dependencies(skinned_program_tests quillet scrivet parlet speech_standin standin_browser generated_resources
                 default_skin_stream)
set_property(SOURCE skinned_programs_test.rc APPEND PROPERTY OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/notepad/Fnotepad.dfm"
             ${GENERATED_RES_FILES} "${DEFAULT_SKIN_STREAM}")
gtest_discover_tests(skinned_program_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     WORKING_DIRECTORY "${CMAKE_BINARY_DIR}" PROPERTIES TIMEOUT 120 RESOURCE_LOCK first_run_marker)
display_input_tests(skinned_program_tests LOCKS first_run_marker TESTS "*")
