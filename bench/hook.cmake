# Hook library benchmarks. The decision core runs on the host in
# qm_core_bench (bench/Hook_core_bench.cpp joins it through Core.cmake).
# Under Wine, qm_hook_bench.exe times the library in the real program and in
# this process and prints each figure beside a baseline measured in the same
# run; it is not a test and is run by scripts/bench.sh.
if(WIN32)
  add_executable(qm_hook_bench ${CMAKE_CURRENT_LIST_DIR}/HookBench_win.cpp)
  target_include_directories(qm_hook_bench PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
  target_compile_definitions(qm_hook_bench PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(qm_hook_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  target_link_libraries(qm_hook_bench PRIVATE qm_test_support)
  target_link_options(qm_hook_bench PRIVATE ${QM_WIN_LINK})
  add_dependencies(qm_hook_bench Quillmere QuillmereHook qm_target)
endif()
