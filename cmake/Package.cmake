# The release package: build/dist/Quillmere-<version>-win64.zip with its
# SHA256SUMS and the winget manifests, made from the shipped binaries by
# scripts/make-package.py whenever one of its inputs changes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QM_DIST_DIR ${CMAKE_SOURCE_DIR}/build/dist CACHE PATH "Where the release package is written")
set(QM_PACKAGE_ZIP ${QM_DIST_DIR}/Quillmere-${PROJECT_VERSION}-win64.zip)
file(GLOB QM_WINGET_TEMPLATES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/winget/*.yaml)
add_custom_command(
  OUTPUT ${QM_PACKAGE_ZIP} ${QM_DIST_DIR}/SHA256SUMS
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-package.py
          --build ${CMAKE_BINARY_DIR} --source ${CMAKE_SOURCE_DIR} --out ${QM_DIST_DIR}
  DEPENDS Quillmere QuillmereConsole QuillmereHook ${CMAKE_SOURCE_DIR}/scripts/make-package.py
          ${CMAKE_SOURCE_DIR}/LICENSE
          ${CMAKE_SOURCE_DIR}/packaging/README.txt ${CMAKE_SOURCE_DIR}/examples/Entry.ini.txt ${QM_WINGET_TEMPLATES}
  COMMENT "Packaging Quillmere ${PROJECT_VERSION}"
  VERBATIM)
add_custom_target(qm_package ALL DEPENDS ${QM_PACKAGE_ZIP})
