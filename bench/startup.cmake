# Start-up under Wine: qm_startup_bench.exe starts qm_baretray.exe (a bare
# tray program, the baseline), qm_startsteps.exe cut after each start-up step
# and Quillmere.exe, and prints time to idle and memory as ratios to the
# baseline and per step. Run by scripts/bench.sh.
if(WIN32)
  add_executable(qm_baretray WIN32 ${CMAKE_CURRENT_LIST_DIR}/BareTray_win.cpp)
  target_compile_definitions(qm_baretray PRIVATE UNICODE _UNICODE)
  target_compile_options(qm_baretray PRIVATE ${QM_WARNINGS})
  target_link_options(qm_baretray PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})

  add_executable(qm_startsteps WIN32 ${CMAKE_CURRENT_LIST_DIR}/StartupSteps_win.cpp ${QM_RESOURCES})
  target_include_directories(qm_startsteps PRIVATE ${CMAKE_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
  target_compile_options(qm_startsteps PRIVATE ${QM_WARNINGS})
  # The program's delayed imports, as Quillmere.exe has them.
  target_link_libraries(qm_startsteps PRIVATE qm_shell ${QM_COMCTL32_DELAY} ${QM_DWMAPI_DELAY})
  add_dependencies(qm_startsteps qm_comctl32_delay qm_dwmapi_delay)
  # Linked as Quillmere.exe is, in one partition: split, MinGW GCC 12 may
  # stop with the same internal error the product's link avoids.
  target_link_options(qm_startsteps PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK} -flto -flto-partition=one)

  add_executable(qm_startup_bench ${CMAKE_CURRENT_LIST_DIR}/StartupBench_win.cpp
                 ${CMAKE_SOURCE_DIR}/tests/e2e/E2eSupport.cpp)
  target_include_directories(qm_startup_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(qm_startup_bench PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
  target_compile_options(qm_startup_bench PRIVATE ${QM_WARNINGS} -Wno-conversion)
  target_link_libraries(qm_startup_bench PRIVATE qm_test_support user32 gdi32 comctl32 shell32 psapi)
  target_link_options(qm_startup_bench PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})
  add_dependencies(qm_startup_bench qm_baretray qm_startsteps Quillmere QuillmereHook)
endif()
