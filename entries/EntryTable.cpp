#include "entries/EntryTable.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace qm {

void SortWindowTable(WindowTable& table) {
  std::sort(table.Entries, table.Entries + table.Count, [](const WindowEntry& a, const WindowEntry& b) {
    return U16Compare(U16ViewOf(a.Title), U16ViewOf(b.Title)) < 0;
  });
}

void SortMenuTable(MenuTable& table) {
  std::sort(table.Entries, table.Entries + table.Count, [](const MenuEntry& a, const MenuEntry& b) {
    return std::tie(a.Pos, a.Left, a.Top, a.Width, a.Height) <
           std::tie(b.Pos, b.Left, b.Top, b.Width, b.Height);
  });
}

namespace {

// Order-preserving compaction shared by both tables.
template <typename Entry>
void DeleteEntries(Entry* entries, int32_t& tableCount, const int32_t* selected, int32_t count) {
  int32_t write = 0;
  int32_t next = 0;  // position in selected
  for (int32_t read = 0; read < tableCount; ++read) {
    while (next < count && selected[next] < read) ++next;
    if (next < count && selected[next] == read) continue;
    if (write != read) entries[write] = entries[read];
    ++write;
  }
  for (int32_t i = write; i < tableCount; ++i) std::memset(&entries[i], 0, sizeof(Entry));
  tableCount = write;
}

}  // namespace

void DeleteWindowEntries(WindowTable& table, const int32_t* selected, int32_t count) {
  DeleteEntries(table.Entries, table.Count, selected, count);
}

void DeleteMenuEntries(MenuTable& table, const int32_t* selected, int32_t count) {
  DeleteEntries(table.Entries, table.Count, selected, count);
}

bool IsClassRegistered(const WindowTable& table, U16View windowClass) {
  if (windowClass.empty()) return false;
  for (int32_t i = 0; i < table.Count; ++i) {
    if (U16ViewOf(table.Entries[i].Class) == windowClass) return true;
  }
  return false;
}

namespace {

// Appends text at out[len], never past kTextCapacity - 1; returns the new length.
size_t Append(char16_t* out, size_t len, U16View text) {
  return len + U16CopyTruncated(out + len, kTextCapacity - len, text);
}

// "%d", or for a share of the work area the percentage it is: 5000 as
// "50%", 3333 as "33.33%".
size_t AppendNumber(char16_t* out, size_t len, int32_t value, bool share) {
  char16_t number[12];
  if (!share) {
    U16FormatInt(value, number);
    return Append(out, len, U16ViewOf(number));
  }
  const int64_t magnitude = value < 0 ? -int64_t{value} : value;
  if (value < 0) len = Append(out, len, u"-");
  U16FormatInt(static_cast<int32_t>(magnitude / 100), number);
  len = Append(out, len, U16ViewOf(number));
  if (magnitude % 100 != 0) {
    const char16_t fraction[] = {u'.', static_cast<char16_t>(u'0' + magnitude % 100 / 10),
                                 static_cast<char16_t>(u'0' + magnitude % 10), u'\0'};
    len = Append(out, len, U16ViewOf(fraction));
  }
  return Append(out, len, u"%");
}

// " %d , %d " and " %d x %d ".
void FormatPair(int32_t a, const char16_t* separator, int32_t b, bool share, char16_t* out) {
  size_t len = Append(out, 0, u" ");
  len = AppendNumber(out, len, a, share);
  len = Append(out, len, U16ViewOf(separator));
  len = AppendNumber(out, len, b, share);
  Append(out, len, u" ");
}

}  // namespace

void PositionText(const EntryGeometry& entry, const AnchorTexts& anchors, char16_t* out) {
  if (entry.DesablePos != 0) {
    U16CopyTruncated(out, kTextCapacity, u" ");
  } else if (entry.Pos >= PosBottomLeft && entry.Pos < kPosCount) {
    size_t len = Append(out, 0, U16ViewOf(anchors.Text[entry.Pos]));
    // A free point is absolute and a kept position is not computed, so only
    // an anchor says which monitor it is on: by name when the entry names one.
    const bool otherMonitor = entry.Monitor == MonitorOfWindow || entry.Monitor == MonitorOfPointer;
    if (entry.MonitorName[0] != u'\0') {
      len = Append(out, len, u"/ ");
      len = Append(out, len, U16ViewOf(entry.MonitorName));
      Append(out, len, u" ");
    } else if (otherMonitor && anchors.Monitor[entry.Monitor] != nullptr) {
      len = Append(out, len, u"/ ");
      len = Append(out, len, U16ViewOf(anchors.Monitor[entry.Monitor]));
      Append(out, len, u" ");
    }
  } else {
    FormatPair(entry.Left, u" , ", entry.Top, entry.Unit == UnitShare, out);
  }
}

void SizeText(const EntryGeometry& entry, char16_t* out) {
  if (entry.DesableSize != 0) {
    U16CopyTruncated(out, kTextCapacity, u" ");
  } else {
    FormatPair(entry.Width, u" x ", entry.Height, entry.Unit == UnitShare, out);
  }
}

}  // namespace qm
