#include "tests/support/UiTexts.h"

namespace qm::test {

const UiTexts& JapaneseTexts() {
  static const UiTexts texts = {
      MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
      L"追加",
      L"変更",
      L"削除",
      L"リストの切替",
      L"設定",
      L"バージョン情報",
      L"選択項目を削除しますか?",
      L"登録済みのクラスです。",
      L"これ以上は登録できません。登録できる項目は512件までです。",
      L"保存できませんでした",
      L"読み込めませんでした",
      L"ホットキー Ctrl+Alt+Shift+F10 は他のプログラムが使っているため登録できませんでした。",
      {L" 任意 ", L" 左下 ", L" 右下 ", L" 中央 ", L" 左上 ", L" 右上 "},
      L"登録名",
      L"クラス",
      L"位置",
      L"サイズ",
      L"プログラム",
      {L"主モニター", L"ウィンドウのあるモニター", L"マウスのあるモニター"},
      L"モード",
  };
  return texts;
}

const UiTexts& EnglishTexts() {
  static const UiTexts texts = {
      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
      L"Add",
      L"Change",
      L"Delete",
      L"Switch list",
      L"Settings",
      L"About",
      L"Delete the selected item?",
      L"This class is already registered.",
      L"No more entries can be added. At most 512 entries can be registered.",
      L"could not be saved",
      L"could not be read",
      L"The hotkey Ctrl+Alt+Shift+F10 could not be registered because another program uses it.",
      {L" Free ", L" Bottom left ", L" Bottom right ", L" Centre ", L" Top left ", L" Top right "},
      L"Name",
      L"Class",
      L"Position",
      L"Size",
      L"Program",
      {L"Primary monitor", L"Monitor of the window", L"Monitor of the mouse pointer"},
      L"Mode",
  };
  return texts;
}

std::wstring RunLanguageName() {
  for (const wchar_t* name : {L"LC_ALL", L"LC_MESSAGES", L"LANG"}) {
    wchar_t value[64] = {};
    DWORD n = GetEnvironmentVariableW(name, value, ARRAYSIZE(value));
    if (n > 0 && n < ARRAYSIZE(value)) return value;
  }
  return L"";
}

const UiTexts& ExpectedTexts() {
  return RunLanguageName().rfind(L"ja", 0) == 0 ? JapaneseTexts() : EnglishTexts();
}

}  // namespace qm::test
