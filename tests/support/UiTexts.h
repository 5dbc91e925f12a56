// The user-interface texts the tests expect of Quillmere, one table per
// language. A run's language is the one its LANG names (Wine takes the user
// interface language from it): Japanese for "ja...", English otherwise, the
// same choice Windows makes between the program's two sets of resources.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace qm::test {

struct UiTexts {
  LANGID language;  // the resources' language these texts come from
  const wchar_t* add;          // menu item, toolbar tip, entry dialog caption
  const wchar_t* change;
  const wchar_t* remove;       // "delete": menu item, tip, confirmation caption
  const wchar_t* switchList;   // toolbar tip
  const wchar_t* settings;     // settings dialog caption
  const wchar_t* about;        // About box caption
  const wchar_t* deleteConfirm;
  const wchar_t* classExists;
  const wchar_t* tableFull;
  const wchar_t* saveFailedPart;  // a piece of the save failure message
  const wchar_t* loadFailedPart;  // a piece of the start-up read failure message
  const wchar_t* hotkeyTakenStart;  // the message's first sentence, default hotkey
  std::array<const wchar_t*, 6> anchors;  // position combo items, in Pos order
  const wchar_t* columnName;
  const wchar_t* columnClass;
  const wchar_t* columnPosition;
  const wchar_t* columnSize;
  const wchar_t* columnProgram;
  std::array<const wchar_t*, 3> monitors;  // monitor combo items, in Monitor order
  const wchar_t* columnMode;
};

const UiTexts& JapaneseTexts();
const UiTexts& EnglishTexts();

// The texts of this run's language (see above).
const UiTexts& ExpectedTexts();
// The language the run asks for as its name ("ja_JP.UTF-8"), for messages.
std::wstring RunLanguageName();

}  // namespace qm::test
