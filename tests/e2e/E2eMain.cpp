// Entry of the end-to-end suite. Keeps a tray icon of its own for the whole
// run, so that no Quillmere exit removes the last one.
#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"
#include "tests/support/TestSupport.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  e2e::MakeDriverDpiAware();
  const qm::test::TrayKeeper keeper(L"qm-e2e");
  return RUN_ALL_TESTS();
}
