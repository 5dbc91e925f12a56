# Small programs around Quillmere that are not part of the product.
add_executable(qm_demo ${CMAKE_CURRENT_LIST_DIR}/demo/Demo_win.cpp)
target_compile_definitions(qm_demo PRIVATE UNICODE _UNICODE)
target_include_directories(qm_demo PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(qm_demo PRIVATE ${QM_WARNINGS})
target_link_options(qm_demo PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})

add_executable(qm_showmain ${CMAKE_CURRENT_LIST_DIR}/screenshot/ShowMain_win.cpp)
target_compile_definitions(qm_showmain PRIVATE UNICODE _UNICODE)
target_include_directories(qm_showmain PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(qm_showmain PRIVATE ${QM_WARNINGS})
target_link_options(qm_showmain PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})

add_executable(qm_showdialog ${CMAKE_CURRENT_LIST_DIR}/screenshot/ShowDialog_win.cpp)
target_compile_definitions(qm_showdialog PRIVATE UNICODE _UNICODE)
target_include_directories(qm_showdialog PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(qm_showdialog PRIVATE ${QM_WARNINGS})
target_link_options(qm_showdialog PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})
