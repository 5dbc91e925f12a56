#include "placement/MonitorNames.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

NamedMonitors Connected(std::initializer_list<std::pair<const char16_t*, const char16_t*>> monitors) {
  NamedMonitors list{};
  for (const auto& [name, path] : monitors) {
    U16CopyTruncated(list.Monitor[list.Count].Name, kMonitorNameCapacity, name);
    U16CopyTruncated(list.Monitor[list.Count].Device, kMonitorDeviceCapacity, u"DEV");
    U16CopyTruncated(list.Monitor[list.Count++].Path, kMonitorPathCapacity, path);
  }
  return list;
}

TEST(PickNamedMonitor, PathFirstThenAUniqueName) {
  const NamedMonitors desk = Connected({{u"DELL U2720Q", u"p1"}, {u"DELL U2720Q", u"p2"}, {u"LG HDR", u"p3"}, {u"", u"p4"}});
  const struct {
    U16View name, path;
    int32_t expected;
  } cases[] = {
      {u"DELL U2720Q", u"p2", 1}, {u"LG HDR", u"p1", 0},  {u"DELL U2720Q", u"", -1}, {u"LG HDR", u"gone", 2},
      {u"DELL U2720Q", u"gone", -1}, {u"lg hdr", u"", -1}, {u"", u"p4", 3},  {u"", u"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(PickNamedMonitor(desk, c.name, c.path), c.expected) << c.path.size();
  char16_t label[kTextCapacity];
  const std::u16string labels[] = {u"DELL U2720Q #1", u"DELL U2720Q #2", u"LG HDR", u"DEV"};
  for (int32_t i = 0; i < desk.Count; ++i) {
    NamedMonitorLabel(desk, i, label);
    EXPECT_TRUE(label == labels[i]) << i;
  }
}

}  // namespace
}  // namespace qm
