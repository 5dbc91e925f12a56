#include "app/OneStepRule_win.h"

#include <shellapi.h>

#include "app/MainWindow_win.h"
#include "app/OneStepRule.h"
#include "base/Win32Glue.h"
#include "dialogs/Dialogs_win.h"
#include "placement/MonitorNames_win.h"
#include "placement/RuleFacts_win.h"
#include "res/resource.h"

namespace qm {

namespace {

// The entry names the monitor the window stands on, by its name and device
// path as picking it in the dialog would, so that the rule applies while
// that monitor is connected and gives way to another rule while it is not.
// A monitor that Windows lists on no display path leaves the entry naming
// none.
void NameTheMonitor(WindowEntry& entry, HWND window) {
  NamedMonitor monitor;
  if (!NamedMonitorOfWindow(window, &monitor)) monitor = NamedMonitor{};
  U16CopyTruncated(entry.MonitorName, kTextCapacity, U16ViewOf(monitor.Name));
  U16CopyTruncated(entry.MonitorPath, kTextCapacity, U16ViewOf(monitor.Path));
}

// "Added: Notepad (notepad.exe)": the entry has no registered name, so its
// class and program name it.
void NoticeRule(UINT textId, const char16_t* windowClass, const char16_t* program, DWORD icon) {
  char16_t format[kTextCapacity];
  LoadText(textId, format);
  wchar_t name[2 * kTextCapacity + 4];
  if (program[0] != u'\0') {
    wsprintfW(name, L"%s (%s)", AsWide(windowClass), AsWide(program));
  } else {
    lstrcpynW(name, AsWide(windowClass), ARRAYSIZE(name));
  }
  // wsprintfW writes at most 1024 characters.
  wchar_t text[1024];
  wsprintfW(text, AsWide(format), name);
  ShowTrayNotice(IDS_ONESTEP_TITLE, text, icon);
}

bool OwnWindow(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == 0 || process == GetCurrentProcessId();
}

}  // namespace

bool MakeRuleFromWindow(EntryStore& store, HWND window, HWND owner) {
  if (window == nullptr || OwnWindow(window)) return false;
  char16_t windowClass[kTextCapacity] = {};
  char16_t program[kTextCapacity] = {};
  const int classLength = GetClassNameW(window, AsWide(windowClass), kTextCapacity);
  // The rectangle as "Get" takes it: a minimised window gives the place it
  // returns to.
  RECT rect;
  if (classLength <= 0 || !ReadRestoredRect(window, &rect)) return false;
  // A program that may not be opened (one running with higher rights) gives
  // no name; the entry then names the class alone, as "Get" leaves the
  // program box empty.
  const size_t programLength = ReadWindowProgram(window, program);
  const U16View classView(windowClass, static_cast<size_t>(classLength));
  const U16View programView(program, programLength);

  const OneStepPlan plan = PlanOneStepRule(store.windows, classView, programView);
  WindowEntry entry;
  switch (plan.Outcome) {
    case OneStepOutcome::Added:
      entry = NewOneStepEntry(classView, programView, ToRect32(rect),
                              static_cast<uint32_t>(GetWindowLongW(window, GWL_STYLE)));
      break;
    case OneStepOutcome::Updated:
      entry = store.windows.Entries[plan.Index];
      TakeWindowPlace(entry, ToRect32(rect));
      break;
    case OneStepOutcome::TableFull:
      NoticeRule(IDS_TABLE_FULL, windowClass, program, NIIF_WARNING);
      return false;
    case OneStepOutcome::ClassRegistered:
      NoticeRule(IDS_CLASS_EXISTS, windowClass, program, NIIF_WARNING);
      return false;
  }
  NameTheMonitor(entry, window);
  store.Put(plan.Index, entry);
  const bool saved = store.Save();
  NoticeRule(plan.Outcome == OneStepOutcome::Added ? IDS_ONESTEP_ADDED : IDS_ONESTEP_UPDATED, windowClass, program,
             NIIF_INFO);
  if (!saved) ShowSaveFailure(owner);
  return true;
}

}  // namespace qm
