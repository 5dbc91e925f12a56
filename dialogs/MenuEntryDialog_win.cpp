// The menu entry dialog: adds a position-and-size preset or changes one. Its
// two "Keep ..." boxes exclude each other, so every preset saved here
// moves or resizes a window, or both.
#include <windows.h>

#include "dialogs/EntryDialog_win.h"
#include "res/resource.h"

namespace qm {

namespace {

// The dialog's controls and the fields they show, in the order they load.
constexpr ControlField<MenuEntry> kMenuEntryControls[] = {
    {IDC_DESABLEPOS, &MenuEntry::DesablePos, ControlKind::Check},
    {IDC_DESABLESIZE, &MenuEntry::DesableSize, ControlKind::Check},
    {IDC_POS, &MenuEntry::Pos, ControlKind::Position},
    {IDC_LEFT, &MenuEntry::Left, ControlKind::Number},
    {IDC_TOP, &MenuEntry::Top, ControlKind::Number},
    {IDC_WIDTH, &MenuEntry::Width, ControlKind::Number},
    {IDC_HEIGHT, &MenuEntry::Height, ControlKind::Number},
    {IDC_MONITOR, &MenuEntry::Monitor, ControlKind::Monitor},
    {IDC_UNIT, &MenuEntry::Unit, ControlKind::Check},
};
static_assert(ShowsKeptFields(kMenuEntryControls, kMenuEntryFields), "a control shows a field no key keeps");

void LoadMenuEntry(HWND dialog, const EntryStore& store, int32_t index) {
  LoadControls(dialog, kMenuEntryControls, store.menus.Entries[index]);
  ShowEntryMonitor(dialog, store.menus.Entries[index]);
}

// Only a full table (for an add) refuses a preset.
EntryRefusal PutMenuEntry(HWND dialog, EntryStore& store, int32_t index) {
  return PutEntry(dialog, store, store.menus.Entries, MenuEntryTarget(store.menus, index), kMenuEntryControls);
}

constexpr EntryDialogKind kMenuEntryDialog = {
    EntryList::Menus, LoadMenuEntry, PutMenuEntry, ReactMenuEntryCommand, MenuEntryLoadCommands,
    nullptr,          nullptr,       nullptr,
};

}  // namespace

INT_PTR CALLBACK MenuEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return EntryDialogProc(kMenuEntryDialog, dialog, message, wParam, lParam);
}

}  // namespace qm
