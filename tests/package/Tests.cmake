# The release package: check_package.py checks the zip, its checksum and the
# winget manifests on the host and unpacks the zip; then qm_package_tests
# starts the unpacked program under Wine.
set(QM_PACKAGE_UNPACK ${CMAKE_BINARY_DIR}/package-test)
add_test(NAME qm_package_contents
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_package.py
                 --build ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR} --dist ${QM_DIST_DIR}
                 --xml ${QM_TEST_RESULTS}/qm_package_contents.xml --unpack ${QM_PACKAGE_UNPACK})
set_tests_properties(qm_package_contents PROPERTIES FIXTURES_SETUP qm_package_unpacked)

add_executable(qm_package_tests ${CMAKE_CURRENT_LIST_DIR}/PackageStart_test.cpp
               ${CMAKE_SOURCE_DIR}/tests/e2e/E2eSupport.cpp ${CMAKE_SOURCE_DIR}/tests/e2e/E2eMain.cpp)
target_include_directories(qm_package_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_definitions(qm_package_tests PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(qm_package_tests PRIVATE qm_test_support gtest user32 gdi32 comctl32 shell32 version)
target_link_options(qm_package_tests PRIVATE ${QM_WIN_LINK})
add_dependencies(qm_package_tests qm_package)
qm_add_gtest(qm_package_tests)
set_tests_properties(qm_package_tests PROPERTIES FIXTURES_REQUIRED qm_package_unpacked
                     ENVIRONMENT "QM_PACKAGE_DIR=Z:${QM_PACKAGE_UNPACK}")
