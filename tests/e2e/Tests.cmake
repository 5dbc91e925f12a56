# End-to-end tests: a driver that starts the real Quillmere.exe under Wine and
# drives it from outside, and qm_target.exe, the "other program" whose
# windows get placed.
add_executable(qm_target WIN32 ${CMAKE_CURRENT_LIST_DIR}/target/Target_win.cpp)
target_include_directories(qm_target PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(qm_target PRIVATE UNICODE _UNICODE)
target_link_options(qm_target PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})

file(GLOB QM_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(qm_e2e_tests ${QM_E2E_TESTS} ${CMAKE_CURRENT_LIST_DIR}/E2eMain.cpp)
target_include_directories(qm_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
target_compile_definitions(qm_e2e_tests PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(qm_e2e_tests PRIVATE qm_test_support gtest)
target_link_options(qm_e2e_tests PRIVATE ${QM_WIN_LINK})
add_dependencies(qm_e2e_tests Quillmere QuillmereHook qm_target)
qm_add_gtest(qm_e2e_tests)

# The tests that need a second monitor, again on an X server that has one
# (skipped where Xorg's dummy driver is missing).
add_test(NAME qm_e2e_two_monitors
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-two-monitors.sh $<TARGET_FILE:qm_e2e_tests>
                 --gtest_filter=ProgramMonitor.AnchorsOn*:ProgramMonitor.WindowsReturn*:ProgramMonitor.NamedMonitor*
                 --gtest_output=xml:${QM_TEST_RESULTS_ARG}/qm_e2e_two_monitors.xml)
set_tests_properties(qm_e2e_two_monitors PROPERTIES SKIP_RETURN_CODE 77)
