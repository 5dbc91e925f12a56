# The Win32 shell, the hook library and the program.
enable_language(RC)

set(QM_WIN_DEFINES UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601
    QM_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} QM_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    QM_VERSION_PATCH=${PROJECT_VERSION_PATCH})
# The char16_t <-> wchar_t glue reinterprets buffers; keep the optimiser from
# assuming the two never alias.
# No MinGW runtime DLLs: a user's Windows machine does not have them.
if(MINGW)
  set(QM_WIN_OPTIONS -fno-strict-aliasing)
  set(QM_WIN_LINK -static -static-libgcc -static-libstdc++)
  set(QM_UNICODE_ENTRY -municode)
else()
  set(QM_WIN_OPTIONS)
  set(QM_WIN_LINK)
  set(QM_UNICODE_ENTRY)
endif()

target_compile_definitions(qm_core PUBLIC ${QM_WIN_DEFINES})
target_compile_options(qm_core PUBLIC ${QM_WIN_OPTIONS})

configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
set(QM_RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/res/Quillmere.rc)
set_source_files_properties(${QM_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/res/Quillmere_en.rc;${CMAKE_CURRENT_SOURCE_DIR}/res/Quillmere.ico;${CMAKE_CURRENT_SOURCE_DIR}/res/Quillmere.manifest;${CMAKE_CURRENT_SOURCE_DIR}/res/resource.h")


# Hook library: Quillmere.dll with undecorated exports from the .def file.
file(GLOB QM_HOOK_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/hook/library/*.cpp)
# The library judges windows by the same facts as the program, and shares
# the DPI helpers with it; each module has its own copy.
list(APPEND QM_HOOK_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/placement/WindowFacts_win.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/base/Dpi_win.cpp)
add_library(QuillmereHook SHARED ${QM_HOOK_SOURCES} hook/library/Quillmere.def)
set_target_properties(QuillmereHook PROPERTIES OUTPUT_NAME Quillmere PREFIX "" IMPORT_PREFIX "lib")
target_compile_definitions(QuillmereHook PRIVATE QM_BUILDING_HOOK)
target_compile_options(QuillmereHook PRIVATE ${QM_WARNINGS})
target_link_libraries(QuillmereHook PRIVATE qm_core user32 gdi32 dwmapi)
target_link_options(QuillmereHook PRIVATE ${QM_WIN_LINK})

# The shell: everything but the entry point, so Windows unit tests can create
# the program's windows in their own process.
add_library(qm_shell STATIC ${QM_SHELL_SOURCES})
target_compile_options(qm_shell PRIVATE ${QM_WARNINGS})
target_link_libraries(qm_shell PUBLIC qm_core QuillmereHook user32 gdi32 comctl32 shell32 shlwapi kernel32 dwmapi)

add_executable(Quillmere WIN32 app/Main_win.cpp ${QM_RESOURCES})
target_include_directories(Quillmere PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
target_compile_options(Quillmere PRIVATE ${QM_WARNINGS})
target_link_libraries(Quillmere PRIVATE qm_shell)
target_link_options(Quillmere PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK})
include(${CMAKE_CURRENT_SOURCE_DIR}/tests/support/Support.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/tools/Tools.cmake)
