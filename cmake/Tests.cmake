# Test and benchmark targets. GoogleTest is built from Debian's sources so the
# same suites build natively and with MinGW.
set(QM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QM_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(QM_TEST_RESULTS ${CMAKE_BINARY_DIR}/test-results)
file(MAKE_DIRECTORY ${QM_TEST_RESULTS})

# Registers one GoogleTest executable as one CTest test that writes its
# results as XML, so the test script can total every suite.
# Under Wine the Linux path is reached through drive Z:.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(QM_TEST_RESULTS_ARG "Z:${QM_TEST_RESULTS}")
else()
  set(QM_TEST_RESULTS_ARG "${QM_TEST_RESULTS}")
endif()
function(qm_add_gtest name)
  add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:${QM_TEST_RESULTS_ARG}/${name}.xml)
endfunction()

# Portable core tests: natively on the host, and again under Wine.
file(GLOB QM_HOST_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/host/*_test.cpp)
add_executable(qm_core_tests ${QM_HOST_TESTS})
target_link_libraries(qm_core_tests PRIVATE qm_core gtest_main)
target_compile_options(qm_core_tests PRIVATE ${QM_WARNINGS} -Wno-conversion)
if(WIN32)
  target_link_options(qm_core_tests PRIVATE ${QM_WIN_LINK})
endif()
qm_add_gtest(qm_core_tests)

if(WIN32)
  include(${CMAKE_CURRENT_SOURCE_DIR}/tests/win/Tests.cmake OPTIONAL)
  include(${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/Tests.cmake OPTIONAL)
  if(MINGW)
    include(${CMAKE_CURRENT_SOURCE_DIR}/tests/package/Tests.cmake OPTIONAL)
  endif()
endif()

if(QM_BENCHMARKS)
  include(${CMAKE_CURRENT_SOURCE_DIR}/bench/Bench.cmake OPTIONAL)
endif()
