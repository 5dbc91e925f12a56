# The window entry dialog under Wine: its list of running windows with the
# rule column against the same list without it. Run by scripts/bench.sh.
if(WIN32)
  add_executable(qm_entrydialog_bench ${CMAKE_CURRENT_LIST_DIR}/EntryDialogBench_win.cpp ${QM_RESOURCES})
  target_include_directories(qm_entrydialog_bench PRIVATE ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
  target_link_libraries(qm_entrydialog_bench PRIVATE qm_shell qm_test_support)
  target_compile_options(qm_entrydialog_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  target_link_options(qm_entrydialog_bench PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})
  add_dependencies(qm_entrydialog_bench qm_target)
endif()
