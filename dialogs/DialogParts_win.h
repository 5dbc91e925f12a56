// Pieces the three dialogs share: strings, the position box, the number
// boxes, the check boxes and enabled states that the entry rules govern,
// and the refusal message. Nothing outside dialogs/ (and its tests) uses
// them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/U16.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/EntryRules.h"
#include "dialogs/NumberBox_win.h"
#include "entries/EntryFields.h"
#include "entries/EntryTable.h"
#include "placement/Placement.h"

namespace qm {

// Text of a dialog control into out[kTextCapacity], cut to 255 code units.
void ReadControlText(HWND dialog, int id, char16_t* out);

// Fills the monitor box (IDC_MONITOR) of an entry dialog with the three
// choices, item index = Monitor value, then the monitors connected now by
// name, and selects the primary monitor.
void FillMonitorCombo(HWND dialog);
// Selects the monitor an entry names: its item, or one added after the
// connected monitors that shows the stored name as not connected. An entry
// that names none keeps the Monitor choice LoadControls selected.
void ShowEntryMonitor(HWND dialog, const EntryGeometry& entry);
// OK: a connected monitor picked stores its name and device path; one of
// the three choices clears them; the stored one not connected keeps them.
void StoreEntryMonitor(HWND dialog, EntryGeometry& entry);
// The work area and screen rectangle the monitor box's selection places
// window against (the window's own monitor for the mouse pointer's, which
// is over the dialog now).
PlacementArea ChosenMonitorArea(HWND dialog, HWND window);
// Fills combo box id with count strings from firstText on, item index =
// stored value, and selects the first.
void FillChoiceCombo(HWND dialog, int id, UINT firstText, int32_t count);

// Selects item pos of the position box; a value outside PosFree ..
// PosTopRight clears the selection (CB_SETCURSEL with -1 explicitly, since
// some combo boxes keep item 0 for other out-of-range indices).
void SelectPosition(HWND dialog, int32_t pos);
// The selected item of the position box, -1 when none is selected.
int32_t SelectedPosition(HWND dialog);

// Check mark of a two-state check box, as 0 or 1.
int32_t CheckedFlag(HWND dialog, int id);
void SetCheckedFlag(HWND dialog, int id, int32_t flag);

// A dialog's table of its controls: which control shows which field of the
// record, and as what; the fields are those of the record's table
// (entries/EntryFields.h). Loading sets texts, check marks and the position
// without notifications; the enabled states follow from the commands an
// entry dialog then sends itself.
// Choice: a combo box whose item index is the value; a value it does not
// list shows no item and is kept unless the user picks one. HoldSeconds: a
// number box showing a rule's hold in seconds (WindowEntry::Hold).
enum class ControlKind { Text, Check, Number, Position, Monitor, Hotkey, Choice, HoldSeconds, CheckOnWhenAbsent };
template <typename Record>
struct ControlField {
  int Id;
  ControlKind Kind;
  int32_t Record::*Number = nullptr;
  TextMember<Record> Text = nullptr;
  int32_t DefaultHotkey = 0;  // what a hotkey control shows for the field's 0

  constexpr ControlField(int id, int32_t Record::*number, ControlKind kind) : Id(id), Kind(kind), Number(number) {}
  constexpr ControlField(int id, int32_t Record::*number, HotkeyDefault hotkey)
      : Id(id), Kind(ControlKind::Hotkey), Number(number), DefaultHotkey(hotkey.Hotkey) {}
  constexpr ControlField(int id, TextMember<Record> text) : Id(id), Kind(ControlKind::Text), Text(text) {}
};

// Whether every control shows a field that the record's table keeps: a
// control whose field no key holds would show a value that is never saved.
template <typename Record, size_t N, size_t M>
constexpr bool ShowsKeptFields(const ControlField<Record> (&controls)[N], const FieldRow<Record> (&rows)[M]) {
  for (const ControlField<Record>& control : controls) {
    bool kept = false;
    for (const FieldRow<Record>& row : rows) {
      kept = kept || (control.Kind == ControlKind::Text ? row.Text == control.Text : row.Number == control.Number);
    }
    if (!kept) return false;
  }
  return true;
}

// defaultHotkey: what a hotkey control's field means by 0.
void LoadControl(HWND dialog, int id, ControlKind kind, int32_t value, int32_t defaultHotkey = 0);
// current: the field's value before, which a monitor box without a
// selection and a hotkey the control cannot show keep.
int32_t StoreControl(HWND dialog, int id, ControlKind kind, int32_t current, int32_t defaultHotkey = 0);

template <typename Record, size_t N>
void LoadControls(HWND dialog, const ControlField<Record> (&controls)[N], const Record& record) {
  for (const auto& c : controls) {
    if (c.Kind == ControlKind::Text) {
      SetDlgItemTextW(dialog, c.Id, reinterpret_cast<const wchar_t*>(record.*c.Text));
    } else {
      LoadControl(dialog, c.Id, c.Kind, record.*c.Number, c.DefaultHotkey);
    }
  }
}
template <typename Record, size_t N>
void StoreControls(HWND dialog, const ControlField<Record> (&controls)[N], Record& record) {
  for (const auto& c : controls) {
    if (c.Kind == ControlKind::Text) {
      ReadControlText(dialog, c.Id, record.*c.Text);
    } else {
      record.*c.Number = StoreControl(dialog, c.Id, c.Kind, record.*c.Number, c.DefaultHotkey);
    }
  }
}

// The controls the entry rules read, and writing back what a reaction
// changed (only what differs from before, so untouched controls get no
// messages).
EntryControlState ReadEntryControlState(HWND dialog);
void WriteEntryControlState(HWND dialog, const EntryControlState& before, const EntryControlState& after);

// Sends the dialog a WM_COMMAND from control id with notification code 0
// and lParam 0, as a click would arrive.
void SendDialogCommand(HWND dialog, int id);

// A check box or the position box reported something: reads the controls,
// lets the dialog's rules react, writes back what changed and sends the
// follow-up command the rules ask for.
using EntryReaction = int32_t (*)(EntryControlState& state, int32_t id);
void RunEntryRule(HWND dialog, int id, EntryReaction react);

// The window that owns a modal dialog: the main window that opened it.
HWND DialogOwner(HWND dialog);

// Tells the user why OK stored nothing: a message box with string id,
// caption "Quillmere", one OK button and the given icon flags, owned by the
// dialog's owner.
void ShowRefusal(HWND dialog, UINT id, UINT iconFlags);

// The request a dialog was opened with (see DialogParam): kept at
// WM_INITDIALOG in the dialog's DWLP_USER, read back by its handlers.
void KeepRequest(HWND dialog, LPARAM initParam);
DialogRequest& RequestOf(HWND dialog);

// Saves the dialog's store; a failure is told in a box over the dialog.
void SaveStore(HWND dialog);

}  // namespace qm
