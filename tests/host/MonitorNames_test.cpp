#include "placement/MonitorNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "placement/Placement.h"

namespace qm {
namespace {

NamedMonitors Connected(std::initializer_list<std::pair<const char16_t*, const char16_t*>> monitors) {
  NamedMonitors list{};
  for (const auto& m : monitors) {
    NamedMonitor& slot = list.Monitor[list.Count++];
    U16CopyTruncated(slot.Name, kMonitorNameCapacity, m.first);
    U16CopyTruncated(slot.Path, kMonitorPathCapacity, m.second);
    U16CopyTruncated(slot.Device, kMonitorDeviceCapacity, u"\\\\.\\DISPLAY9");
  }
  return list;
}

TEST(PickNamedMonitor, PathFirstThenAUniqueName) {
  const NamedMonitors desk = Connected({{u"DELL U2720Q", u"p1"}, {u"DELL U2720Q", u"p2"}, {u"LG HDR", u"p3"}, {u"", u"p4"}});
  struct Case {
    const char* name;
    U16View monitorName;
    U16View path;
    int32_t expected;
  } cases[] = {
      {"the path picks one of a pair", u"DELL U2720Q", u"p2", 1},
      {"the path wins over another name", u"LG HDR", u"p1", 0},
      {"a pair's name alone picks neither", u"DELL U2720Q", u"", -1},
      {"an unknown path falls back to a unique name", u"LG HDR", u"gone", 2},
      {"an unknown path and a shared name", u"DELL U2720Q", u"gone", -1},
      {"names compare exactly", u"lg hdr", u"", -1},
      {"a path alone", u"", u"p4", 3},
      {"neither", u"", u"", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PickNamedMonitor(desk, c.monitorName, c.path), c.expected);
  }
  char16_t label[kTextCapacity];
  const std::u16string labels[] = {u"DELL U2720Q #1", u"DELL U2720Q #2", u"LG HDR", u"\\\\.\\DISPLAY9"};
  for (int32_t i = 0; i < desk.Count; ++i) {
    NamedMonitorLabel(desk, i, label);
    EXPECT_TRUE(label == labels[i]) << i;
  }
}

// Two rules for one program: the desk's names the office monitor, the
// road's none. A rule whose monitor is absent gives way in every pass.
TEST(MatchWindowEntry, ARuleNamingAnAbsentMonitorGivesWay) {
  auto table = std::make_unique<WindowTable>();
  std::memset(table.get(), 0, sizeof(WindowTable));
  const struct {
    const char16_t* title;
    const char16_t* cls;
    const char16_t* monitor;
  } rules[] = {{u"Desk", u"Mail", u"Office"}, {u"Road", u"Mail", u""}, {u"Note", u"", u"Office"}};
  for (const auto& r : rules) {
    WindowEntry& e = table->Entries[table->Count++];
    U16CopyTruncated(e.Title, kTextCapacity, r.title);
    U16CopyTruncated(e.Class, kTextCapacity, r.cls);
    U16CopyTruncated(e.MonitorName, kTextCapacity, r.monitor);
  }
  const NamedMonitors office = Connected({{u"Laptop", u"a"}, {u"Office", u"b"}});
  const NamedMonitors road = Connected({{u"Laptop", u"a"}});
  EXPECT_EQ(MatchWindowEntry(*table, u"Mail", u"", {}, &office), 0);
  EXPECT_EQ(MatchWindowEntry(*table, u"Mail", u"", {}, &road), 1);
  EXPECT_EQ(MatchWindowEntry(*table, u"Text", u"Note 1", {}, &road), -1);
  // Checking no names: what the rule column reads for a rule that waits.
  EXPECT_EQ(MatchWindowEntry(*table, u"Text", u"Note 1", {}, nullptr), 2);
  EXPECT_TRUE(TableNamesMonitor(*table));
}

}  // namespace
}  // namespace qm
