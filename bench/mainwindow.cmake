# The main window under Wine: start-up to idle with full tables against
# empty ones, and one rebuild of the 512-row window view against inserting
# the same rows into a bare list view, each pair measured in the same run.
if(WIN32)
  add_executable(qm_mainwindow_bench ${CMAKE_CURRENT_LIST_DIR}/MainWindowBench_win.cpp ${QM_RESOURCES})
  target_include_directories(qm_mainwindow_bench PRIVATE ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(qm_mainwindow_bench PRIVATE qm_shell qm_test_support)
  target_compile_options(qm_mainwindow_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  target_link_options(qm_mainwindow_bench PRIVATE ${QM_WIN_LINK})
  add_dependencies(qm_mainwindow_bench Quillmere QuillmereHook)
endif()
