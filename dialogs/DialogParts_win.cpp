#include "dialogs/DialogParts_win.h"

#include <commctrl.h>

#include "base/Win32Glue.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/NumberBox_win.h"
#include "entries/HotkeyText.h"
#include "placement/MonitorNames_win.h"
#include "res/resource.h"

namespace qm {

void ReadControlText(HWND dialog, int id, char16_t* out) {
  out[0] = u'\0';
  GetDlgItemTextW(dialog, id, AsWide(out), kTextCapacity);
}

void FillChoiceCombo(HWND dialog, int id, UINT firstText, int32_t count) {
  for (int32_t item = 0; item < count; ++item) {
    char16_t text[kTextCapacity];
    LoadText(firstText + static_cast<UINT>(item), text);
    SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendDlgItemMessageW(dialog, id, CB_SETCURSEL, 0, 0);
}

void FillPositionCombo(HWND dialog) { FillChoiceCombo(dialog, IDC_POS, IDS_POS_FREE, kPosCount); }

namespace {

// What the monitor box lists after the three choices: the monitors
// connected when the dialog opened, then the loaded entry's own monitor
// when it is not connected. One entry dialog is open at a time.
struct MonitorBox {
  NamedMonitors connected;
  bool storedListed;  // the entry's monitor has the item after the connected ones
  char16_t storedName[kTextCapacity];
  char16_t storedPath[kTextCapacity];
};
MonitorBox g_monitorBox;

}  // namespace

void FillMonitorCombo(HWND dialog) {
  FillChoiceCombo(dialog, IDC_MONITOR, IDS_MONITOR_PRIMARY, kMonitorChoiceCount);
  g_monitorBox.storedListed = false;
  ReadNamedMonitors(&g_monitorBox.connected);
  for (int32_t i = 0; i < g_monitorBox.connected.Count; ++i) {
    char16_t label[kTextCapacity];
    NamedMonitorLabel(g_monitorBox.connected, i, label);
    SendDlgItemMessageW(dialog, IDC_MONITOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
  }
}

void ShowEntryMonitor(HWND dialog, const EntryGeometry& entry) {
  if (!NamesMonitor(entry)) return;
  const MonitorBox& box = g_monitorBox;
  int32_t item = PickNamedMonitor(box.connected, entry);
  if (item < 0) {
    // "DELL U2720Q (not connected)": shown and kept, so that changing
    // something else of the entry while away from the desk keeps its monitor.
    g_monitorBox.storedListed = true;
    U16CopyTruncated(g_monitorBox.storedName, kTextCapacity, U16ViewOf(entry.MonitorName));
    U16CopyTruncated(g_monitorBox.storedPath, kTextCapacity, U16ViewOf(entry.MonitorPath));
    char16_t label[kTextCapacity];
    char16_t absent[kTextCapacity];
    LoadText(IDS_MONITOR_ABSENT, absent);
    size_t length = U16CopyTruncated(label, kTextCapacity, U16ViewOf(entry.MonitorName[0] != u'\0' ? entry.MonitorName
                                                                                                   : entry.MonitorPath));
    U16CopyTruncated(label + length, kTextCapacity - length, U16ViewOf(absent));
    SendDlgItemMessageW(dialog, IDC_MONITOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
    item = box.connected.Count;
  }
  SendDlgItemMessageW(dialog, IDC_MONITOR, CB_SETCURSEL, static_cast<WPARAM>(kMonitorChoiceCount + item), 0);
}

void StoreEntryMonitor(HWND dialog, EntryGeometry& entry) {
  const LRESULT item = SendDlgItemMessageW(dialog, IDC_MONITOR, CB_GETCURSEL, 0, 0);
  if (item == CB_ERR) return;
  const int32_t named = static_cast<int32_t>(item) - kMonitorChoiceCount;
  const MonitorBox& box = g_monitorBox;
  const char16_t* name = u"";
  const char16_t* path = u"";
  if (named >= 0 && named < box.connected.Count) {
    name = box.connected.Monitor[named].Name;
    path = box.connected.Monitor[named].Path;
  } else if (named == box.connected.Count && box.storedListed) {
    name = box.storedName;
    path = box.storedPath;
  }
  U16CopyTruncated(entry.MonitorName, kTextCapacity, U16ViewOf(name));
  U16CopyTruncated(entry.MonitorPath, kTextCapacity, U16ViewOf(path));
}

PlacementArea ChosenMonitorArea(HWND dialog, HWND window) {
  EntryGeometry chosen{};
  const LRESULT item = SendDlgItemMessageW(dialog, IDC_MONITOR, CB_GETCURSEL, 0, 0);
  chosen.Monitor = item == MonitorOfPointer ? MonitorOfWindow : static_cast<int32_t>(item);
  StoreEntryMonitor(dialog, chosen);
  return ReadEntryArea(window, chosen);
}

void SelectPosition(HWND dialog, int32_t pos) {
  const WPARAM item = pos >= PosFree && pos < kPosCount ? static_cast<WPARAM>(pos) : static_cast<WPARAM>(-1);
  SendDlgItemMessageW(dialog, IDC_POS, CB_SETCURSEL, item, 0);
}

int32_t SelectedPosition(HWND dialog) {
  const LRESULT item = SendDlgItemMessageW(dialog, IDC_POS, CB_GETCURSEL, 0, 0);
  return item == CB_ERR ? -1 : static_cast<int32_t>(item);
}

int32_t CheckedFlag(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0; }

void SetCheckedFlag(HWND dialog, int id, int32_t flag) {
  CheckDlgButton(dialog, id, flag != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void LoadControl(HWND dialog, int id, ControlKind kind, int32_t value, int32_t defaultHotkey) {
  switch (kind) {
    case ControlKind::Text:
      break;
    case ControlKind::Check:
      SetCheckedFlag(dialog, id, value);
      break;
    case ControlKind::Number:
      ShowNumber(dialog, id, value);
      break;
    case ControlKind::Position:
      SelectPosition(dialog, value);
      break;
    case ControlKind::Monitor: {
      const bool listed = value >= MonitorPrimary && value < kMonitorChoiceCount;
      SendDlgItemMessageW(dialog, id, CB_SETCURSEL, listed ? static_cast<WPARAM>(value) : static_cast<WPARAM>(-1), 0);
      break;
    }
    case ControlKind::Choice: {
      const LRESULT items = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
      const bool listed = value >= 0 && value < items;
      SendDlgItemMessageW(dialog, id, CB_SETCURSEL, listed ? static_cast<WPARAM>(value) : static_cast<WPARAM>(-1), 0);
      break;
    }
    case ControlKind::HoldSeconds:
      ShowNumber(dialog, id, HoldSecondsOfField(value));
      break;
    case ControlKind::CheckOnWhenAbsent:
      CheckDlgButton(dialog, id, value != -1 ? BST_CHECKED : BST_UNCHECKED);
      break;
    case ControlKind::Hotkey:
      // A plain key or Shift with a key would be taken from every program:
      // the control makes such input Ctrl+Alt with that key.
      SendDlgItemMessageW(dialog, id, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                          MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
      SendDlgItemMessageW(dialog, id, HKM_SETHOTKEY, HotkeyToControl(HotkeyInUse(value, defaultHotkey)), 0);
      break;
  }
}

int32_t StoreControl(HWND dialog, int id, ControlKind kind, int32_t current, int32_t defaultHotkey) {
  switch (kind) {
    case ControlKind::Text:
      return current;
    case ControlKind::Check:
      return CheckedFlag(dialog, id);
    case ControlKind::Number:
      return ReadNumber(dialog, id);
    case ControlKind::Position:
      return SelectedPosition(dialog);
    case ControlKind::Choice:
    case ControlKind::Monitor: {
      // A hand-edited choice the box does not list shows no item and, unless
      // the user picks one, stays as it was. A monitor picked by name keeps
      // the choice too: a preset falls back to it while that monitor is away.
      const LRESULT item = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
      const bool named = kind == ControlKind::Monitor && item >= kMonitorChoiceCount;
      return item == CB_ERR || named ? current : static_cast<int32_t>(item);
    }
    case ControlKind::HoldSeconds:
      return HoldFieldOfSeconds(ReadNumber(dialog, id));
    case ControlKind::CheckOnWhenAbsent:
      // A hand-written value other than 0 and 1 stays while the box is on.
      if (CheckedFlag(dialog, id) == 0) return -1;
      return current == -1 ? 0 : current;
    case ControlKind::Hotkey: {
      const WORD word = static_cast<WORD>(SendDlgItemMessageW(dialog, id, HKM_GETHOTKEY, 0, 0));
      return HotkeySetting(HotkeyFromControl(word, HotkeyInUse(current, defaultHotkey)), defaultHotkey);
    }
  }
  return 0;
}

EntryControlState ReadEntryControlState(HWND dialog) {
  EntryControlState state;
  state.DesablePos = CheckedFlag(dialog, IDC_DESABLEPOS) != 0;
  state.DesableSize = CheckedFlag(dialog, IDC_DESABLESIZE) != 0;
  state.DesableStyle = CheckedFlag(dialog, IDC_DESABLESTYLE) != 0;
  state.PosSelection = SelectedPosition(dialog);
  state.LeftTopEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_LEFT)) != FALSE;
  state.PosEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_POS)) != FALSE;
  state.SizeEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_WIDTH)) != FALSE;
  state.StyleEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_BORDER)) != FALSE;
  return state;
}

namespace {

void WriteCheck(HWND dialog, int id, bool before, bool after) {
  if (before != after) SetCheckedFlag(dialog, id, after ? 1 : 0);
}

template <size_t N>
void WriteEnabled(HWND dialog, const int (&ids)[N], bool before, bool after) {
  if (before == after) return;
  for (int id : ids) EnableWindow(GetDlgItem(dialog, id), after ? TRUE : FALSE);
}

constexpr int kLeftTopIds[] = {IDC_LEFT, IDC_TOP};
constexpr int kPosIds[] = {IDC_POS};
constexpr int kSizeIds[] = {IDC_WIDTH, IDC_HEIGHT};
constexpr int kStyleIds[] = {IDC_BORDER, IDC_DIALOGFRAME, IDC_THICKFRAME};

}  // namespace

void WriteEntryControlState(HWND dialog, const EntryControlState& before, const EntryControlState& after) {
  WriteCheck(dialog, IDC_DESABLEPOS, before.DesablePos, after.DesablePos);
  WriteCheck(dialog, IDC_DESABLESIZE, before.DesableSize, after.DesableSize);
  WriteCheck(dialog, IDC_DESABLESTYLE, before.DesableStyle, after.DesableStyle);
  WriteEnabled(dialog, kLeftTopIds, before.LeftTopEnabled, after.LeftTopEnabled);
  WriteEnabled(dialog, kPosIds, before.PosEnabled, after.PosEnabled);
  WriteEnabled(dialog, kSizeIds, before.SizeEnabled, after.SizeEnabled);
  WriteEnabled(dialog, kStyleIds, before.StyleEnabled, after.StyleEnabled);
}

void SendDialogCommand(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void RunEntryRule(HWND dialog, int id, EntryReaction react) {
  EntryControlState state = ReadEntryControlState(dialog);
  const EntryControlState before = state;
  const int32_t next = react(state, id);
  WriteEntryControlState(dialog, before, state);
  if (next != 0) SendDialogCommand(dialog, next);
}

HWND DialogOwner(HWND dialog) { return GetWindow(dialog, GW_OWNER); }

void ShowRefusal(HWND dialog, UINT id, UINT iconFlags) {
  ShowStringMessage(DialogOwner(dialog), id, 0, MB_OK | iconFlags);
}

void KeepRequest(HWND dialog, LPARAM initParam) { SetWindowLongPtrW(dialog, DWLP_USER, initParam); }

DialogRequest& RequestOf(HWND dialog) {
  return *reinterpret_cast<DialogRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void SaveStore(HWND dialog) {
  if (!RequestOf(dialog).Store->Save()) ShowSaveFailure(DialogOwner(dialog));
}

void ShowSaveFailure(HWND mainWindow) {
  HWND owner = mainWindow != nullptr ? GetLastActivePopup(mainWindow) : nullptr;
  ShowStringMessage(owner, IDS_SAVE_FAILED, 0, MB_OK | MB_ICONWARNING);
}

void ShowLoadFailure(HWND owner) { ShowStringMessage(owner, IDS_LOAD_FAILED, 0, MB_OK | MB_ICONWARNING); }

}  // namespace qm
