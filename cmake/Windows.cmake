# The Win32 shell, the hook library and the program.
enable_language(RC)

set(QM_WIN_DEFINES UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601
    QM_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} QM_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    QM_VERSION_PATCH=${PROJECT_VERSION_PATCH})
if(MINGW)
  # The char16_t <-> wchar_t glue reinterprets buffers; keep the optimiser
  # from assuming the two never alias.
  # -Os: the program waits for messages nearly all its life, so none of its
  # loops is hot, and size-optimised code is a third smaller than -O3's.
  # -ffunction-sections, with --gc-sections on the shipped binaries, drops
  # unused functions. The linker keeps .pdata whole and with it every
  # function that has unwind data, so this gains only about 5 KB. Not
  # -fdata-sections: its zero-filled per-variable sections land in .data and
  # would store the megabyte of entry tables in the file.
  # scripts/size-report.py shows what each object and library costs.
  set(QM_WIN_OPTIONS -fno-strict-aliasing -Os -ffunction-sections)
  # The code of the shipped binaries: each object carries the compiler's
  # intermediate form beside its machine code (-flto -ffat-lto-objects). The
  # shipped binaries link with -flto, which optimises across files and drops
  # every function nothing calls, which --gc-sections cannot for the reason
  # above. Tests link the machine code as usual, so their links take no
  # longer.
  set(QM_LTO_OPTIONS -flto -ffat-lto-objects)
  # No MinGW runtime DLLs: a user's Windows machine does not have them.
  set(QM_WIN_LINK -static -static-libgcc -static-libstdc++)
  set(QM_UNICODE_ENTRY -municode)
  # The shipped binaries: no symbols (-s), unused sections dropped, and no
  # link time in the PE header, so the same commit links to the same bytes.
  set(QM_PRODUCT_LINK -s -flto -Wl,--gc-sections -Wl,--no-insert-timestamp)
  # The C++ runtime of the Win32-threads build of the same compiler. The
  # POSIX-threads one the tests need (GoogleTest uses std::mutex) takes its
  # locks and thread-local data from winpthread, which any thrown exception
  # links in: 26 KB of the program. The two builds lay out every type alike
  # but the thread ones (std::thread, std::mutex, std::condition_variable),
  # which the shipped binaries do not use: std::thread would not link.
  execute_process(COMMAND ${QM_MINGW_PREFIX}-g++-win32 -print-libgcc-file-name
                  OUTPUT_VARIABLE QM_WIN32_THREADS_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(QM_WIN32_THREADS_LIBGCC AND EXISTS "${QM_WIN32_THREADS_LIBGCC}")
    get_filename_component(QM_WIN32_THREADS_RUNTIME "${QM_WIN32_THREADS_LIBGCC}" DIRECTORY)
    list(APPEND QM_PRODUCT_LINK "-L${QM_WIN32_THREADS_RUNTIME}")
  else()
    message(WARNING "${QM_MINGW_PREFIX}-g++-win32 not found: the program links winpthread and is 26 KB larger")
  endif()
  # When std::terminate runs, the runtime's default handler demangles the
  # type of the exception in flight to print it on stderr, then aborts. A
  # windows-subsystem program has no stderr, so the message is never seen,
  # yet the demangler and the printf it pulls in are 68 KB of the program.
  # Resolving the demangler to abort keeps the outcome, an abort, and drops
  # both. Only the program links this way: nothing else in it demangles,
  # while test programs print demangled type names.
  set(QM_NO_DEMANGLER_LINK -Wl,--defsym=__cxa_demangle=abort)
else()
  set(QM_WIN_OPTIONS)
  set(QM_LTO_OPTIONS)
  set(QM_WIN_LINK)
  set(QM_UNICODE_ENTRY)
  set(QM_PRODUCT_LINK)
  set(QM_NO_DEMANGLER_LINK)
endif()

target_compile_definitions(qm_core PUBLIC ${QM_WIN_DEFINES})
target_compile_options(qm_core PUBLIC ${QM_WIN_OPTIONS} PRIVATE ${QM_LTO_OPTIONS})

configure_file(res/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
set(QM_RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/res/Quillmere.rc)
set_source_files_properties(${QM_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/res/Quillmere_en.rc;${CMAKE_CURRENT_SOURCE_DIR}/res/Quillmere.ico;${CMAKE_CURRENT_SOURCE_DIR}/res/Quillmere.manifest;${CMAKE_CURRENT_SOURCE_DIR}/res/resource.h")


# Import libraries that load their DLL at the first call of one of its
# functions instead of at start (a delayed import): dlltool makes one from a
# list of the functions called. Listed before the system's import library,
# it supplies those functions; a function used but missing from the list is
# imported at start again, which the import table test notices. Sets
# QM_<NAME>_DELAY to the library and makes the target qm_<name>_delay.
function(qm_delay_import name def)
  string(TOUPPER ${name} upper)
  set(library ${CMAKE_BINARY_DIR}/lib${name}-delay.a)
  if(MINGW)
    find_program(QM_DLLTOOL ${QM_MINGW_PREFIX}-dlltool REQUIRED)
    add_custom_command(OUTPUT ${library}
      COMMAND ${QM_DLLTOOL} --input-def ${def} --output-delaylib ${library}
      DEPENDS ${def}
      VERBATIM)
    add_custom_target(qm_${name}_delay DEPENDS ${library})
    set(QM_${upper}_DELAY ${library} PARENT_SCOPE)
  else()
    add_custom_target(qm_${name}_delay)
    set(QM_${upper}_DELAY ${name} PARENT_SCOPE)
  endif()
endfunction()
# comctl32.dll: a program that stays in the tray needs none of its controls
# (loading it takes 1.7 MB of memory under Wine); it loads at the main
# window's first show or when a dialog opens. dwmapi.dll: asked only about
# other programs' windows, when the first is placed or judged. wtsapi32.dll:
# the hook library's session notice, registered once the message loop runs.
qm_delay_import(comctl32 ${CMAKE_CURRENT_SOURCE_DIR}/app/CommonControls.def)
qm_delay_import(dwmapi ${CMAKE_CURRENT_SOURCE_DIR}/cmake/delay/dwmapi.def)
qm_delay_import(wtsapi32 ${CMAKE_CURRENT_SOURCE_DIR}/cmake/delay/wtsapi32.def)

# Hook library: Quillmere.dll with undecorated exports from the .def file.
file(GLOB QM_HOOK_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/hook/library/*.cpp)
# The library judges windows by the same facts as the program, and shares
# the DPI helpers with it; each module has its own copy.
list(APPEND QM_HOOK_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/placement/WindowFacts_win.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/base/Dpi_win.cpp)
add_library(QuillmereHook SHARED ${QM_HOOK_SOURCES} hook/library/Quillmere.def)
set_target_properties(QuillmereHook PROPERTIES OUTPUT_NAME Quillmere PREFIX "" IMPORT_PREFIX "lib")
target_compile_definitions(QuillmereHook PRIVATE QM_BUILDING_HOOK)
target_compile_options(QuillmereHook PRIVATE ${QM_WARNINGS} ${QM_LTO_OPTIONS})
if(MINGW)
  # The library neither throws nor asks a type at run time; without type
  # information for its two interfaces' implementations it links none of
  # the runtime's type-information classes (2 KB of a 36 KB library).
  target_compile_options(QuillmereHook PRIVATE -fno-rtti)
endif()
target_link_libraries(QuillmereHook PRIVATE qm_core user32 gdi32 ${QM_DWMAPI_DELAY} ${QM_WTSAPI32_DELAY})
add_dependencies(QuillmereHook qm_dwmapi_delay qm_wtsapi32_delay)
target_link_options(QuillmereHook PRIVATE ${QM_WIN_LINK} ${QM_PRODUCT_LINK})
if(MINGW)
  # The linker's map, for scripts/size-report.py.
  target_link_options(QuillmereHook PRIVATE "-Wl,-Map=$<TARGET_FILE:QuillmereHook>.map")
endif()

# The shell: everything but the entry point, so Windows unit tests can create
# the program's windows in their own process.
add_library(qm_shell STATIC ${QM_SHELL_SOURCES})
target_compile_options(qm_shell PRIVATE ${QM_WARNINGS} ${QM_LTO_OPTIONS})
target_link_libraries(qm_shell PUBLIC qm_core QuillmereHook user32 gdi32 comctl32 shell32 shlwapi kernel32 dwmapi)

add_executable(Quillmere WIN32 app/Main_win.cpp app/NoThrow_win.cpp ${QM_RESOURCES})
target_include_directories(Quillmere PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/res ${CMAKE_BINARY_DIR}/generated)
target_compile_options(Quillmere PRIVATE ${QM_WARNINGS} ${QM_LTO_OPTIONS})
# The delayed imports (see qm_delay_import), before qm_shell's system ones.
target_link_libraries(Quillmere PRIVATE qm_shell ${QM_COMCTL32_DELAY} ${QM_DWMAPI_DELAY})
add_dependencies(Quillmere qm_comctl32_delay qm_dwmapi_delay)
target_link_options(Quillmere PRIVATE ${QM_UNICODE_ENTRY} ${QM_WIN_LINK} ${QM_PRODUCT_LINK} ${QM_NO_DEMANGLER_LINK})
if(MINGW)
  target_link_options(Quillmere PRIVATE "-Wl,-Map=$<TARGET_FILE:Quillmere>.map")
endif()
include(${CMAKE_CURRENT_SOURCE_DIR}/tests/support/Support.cmake)
include(${CMAKE_CURRENT_SOURCE_DIR}/tools/Tools.cmake)
if(MINGW)
  include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
endif()
