# Windows unit tests: Win32-facing units in the test's own process, linked
# with the shell library and the program's resources.
file(GLOB QM_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
if(QM_WIN_TESTS)
  add_executable(qm_win_tests ${QM_WIN_TESTS} ${CMAKE_CURRENT_LIST_DIR}/WinTestMain.cpp ${QM_RESOURCES})
  target_include_directories(qm_win_tests PRIVATE ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(qm_win_tests PRIVATE qm_shell qm_test_support gtest version)
  target_compile_options(qm_win_tests PRIVATE -Wall -Wextra)
  target_link_options(qm_win_tests PRIVATE ${QM_WIN_LINK})
  add_dependencies(qm_win_tests QuillmereHook)
  qm_add_gtest(qm_win_tests)
endif()
