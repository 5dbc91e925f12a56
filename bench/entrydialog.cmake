# The window entry dialog under Wine: its running-window list with the rule
# column against the list as it was before the column, in the same run.
if(WIN32)
  add_executable(qm_entrydialog_bench ${CMAKE_CURRENT_LIST_DIR}/EntryDialogBench_win.cpp ${QM_RESOURCES})
  target_include_directories(qm_entrydialog_bench PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
  target_compile_definitions(qm_entrydialog_bench PRIVATE UNICODE _UNICODE NOMINMAX)
  target_link_libraries(qm_entrydialog_bench PRIVATE qm_shell)
  target_compile_options(qm_entrydialog_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  target_link_options(qm_entrydialog_bench PRIVATE ${QM_WIN_LINK})
endif()
