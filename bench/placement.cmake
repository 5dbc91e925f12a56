# Placement benchmarks. The core's window matching runs on the host in
# qm_core_bench (bench/Placement_core_bench.cpp joins it through Core.cmake).
# Under Wine, qm_placement_bench.exe drives the real program and prints its
# figures as ratios against the same work done by the driver itself; it is
# not a test and is run by scripts/bench.sh.
if(WIN32)
  add_executable(qm_placement_bench ${CMAKE_CURRENT_LIST_DIR}/PlacementBench_win.cpp)
  target_include_directories(qm_placement_bench PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
  target_compile_definitions(qm_placement_bench PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(qm_placement_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  target_link_libraries(qm_placement_bench PRIVATE qm_test_support qm_shell)
  target_link_options(qm_placement_bench PRIVATE ${QM_WIN_LINK})
  add_dependencies(qm_placement_bench Quillmere QuillmereHook qm_target)
endif()
