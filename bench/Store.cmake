# The settings and entry files under Wine: LoadAll and SaveAll of full tables
# against the key-by-key profile functions, measured in the same run.
if(WIN32)
  add_executable(qm_store_bench ${CMAKE_CURRENT_LIST_DIR}/StoreBench_win.cpp)
  target_include_directories(qm_store_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  target_link_libraries(qm_store_bench PRIVATE qm_shell qm_test_support)
  target_compile_options(qm_store_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  target_link_options(qm_store_bench PRIVATE ${QM_WIN_LINK})
  add_dependencies(qm_store_bench QuillmereHook)
endif()
