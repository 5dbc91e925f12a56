# The support library that the Windows tests, the benchmarks and the tool
# programs link: generic helpers (files, waiting, the tray keeper) and the
# end-to-end driver of the real program.
add_library(qm_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/TestSupport.cpp ${CMAKE_CURRENT_LIST_DIR}/UiTexts.cpp
            ${CMAKE_SOURCE_DIR}/tests/e2e/E2eSupport.cpp)
target_include_directories(qm_test_support PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(qm_test_support PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(qm_test_support PUBLIC user32 gdi32 comctl32 shell32)
