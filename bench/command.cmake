# The command line under Wine: qm_command_bench.exe times Quillmere.exe /list
# and /apply against qm_bareenum.exe, a program that only enumerates the
# windows. Run by scripts/bench.sh.
if(WIN32)
  add_executable(qm_bareenum WIN32 ${CMAKE_CURRENT_LIST_DIR}/BareEnum_win.cpp)
  target_compile_definitions(qm_bareenum PRIVATE UNICODE _UNICODE)
  target_compile_options(qm_bareenum PRIVATE ${QM_WARNINGS})
  target_link_options(qm_bareenum PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})

  add_executable(qm_command_bench ${CMAKE_CURRENT_LIST_DIR}/CommandBench_win.cpp)
  target_include_directories(qm_command_bench PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
  target_compile_definitions(qm_command_bench PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(qm_command_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  target_link_libraries(qm_command_bench PRIVATE qm_test_support)
  target_link_options(qm_command_bench PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})
  add_dependencies(qm_command_bench Quillmere QuillmereHook qm_target qm_bareenum)
endif()
