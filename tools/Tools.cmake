# Small programs around Quillmere that are not part of the product.
function(qm_add_tool name source)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${source})
  target_compile_definitions(${name} PRIVATE UNICODE _UNICODE)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${QM_WARNINGS})
  target_link_libraries(${name} PRIVATE qm_test_support)
  target_link_options(${name} PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})
endfunction()

qm_add_tool(qm_demo demo/Demo_win.cpp)
qm_add_tool(qm_showmain screenshot/ShowMain_win.cpp)
qm_add_tool(qm_showdialog screenshot/ShowDialog_win.cpp)
