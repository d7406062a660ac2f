// The hint command and its message.
#include "view/hint.h"

#include "puzzle/board.h"
#include "view/board_view.h"

namespace {

// Family names as a player knows them; a hidden single also names its house.
const wchar_t* const kFamilyNames[kFamilyCount] = {
    L"\u6d88\u53bb\u6cd5",                              // 消去法
    L"\u96a0\u308c\u30b7\u30f3\u30b0\u30eb",            // 隠れシングル
    L"\u30dd\u30a4\u30f3\u30c6\u30a3\u30f3\u30b0",      // ポインティング
    L"\u30af\u30ec\u30fc\u30df\u30f3\u30b0",            // クレーミング
    L"\u30cd\u30a4\u30ad\u30c3\u30c9\u30da\u30a2",      // ネイキッドペア
    L"\u96a0\u308c\u30da\u30a2",                        // 隠れペア
};
const wchar_t* const kHouseNames[3] = {
    L"\u884c\u306e",                    // 行の
    L"\u5217\u306e",                    // 列の
    L"\u30d6\u30ed\u30c3\u30af\u306e",  // ブロックの
};

// Appends to a fixed buffer, always leaving it terminated.
struct Text {
  wchar_t* out;
  int capacity;
  int length = 0;
  void Add(const wchar_t* s) {
    for (; *s && length + 1 < capacity; ++s) out[length++] = *s;
    out[length] = 0;
  }
  void AddDigit(int d) {
    const wchar_t s[2] = {wchar_t(L'0' + d), 0};
    Add(s);
  }
};

bool IsFamily(int family) { return family >= 0 && family < kFamilyCount; }

}  // namespace

void FormatHintMessage(const Hint& hint, wchar_t (&text)[128]) {
  Text t{text, 128};
  text[0] = 0;
  if (hint.kind == kHintNothing) {
    t.Add(L"\u30d2\u30f3\u30c8\u306f\u3042\u308a\u307e\u305b\u3093");  // ヒントはありません
    return;
  }
  t.AddDigit(hint.row + 1);
  t.Add(L"\u884c");  // 行
  t.AddDigit(hint.col + 1);
  t.Add(L"\u5217");  // 列
  if (hint.kind == kHintWrongValue) {
    t.Add(L"\u306e\u300c");  // の「
    t.AddDigit(hint.digit);
    t.Add(L"\u300d\u306f\u9593\u9055\u3044\u3067\u3059");  // 」は間違いです
    return;
  }
  t.Add(L"\u306b\u300c");  // に「
  t.AddDigit(hint.digit);
  t.Add(L"\u300d\u304c\u5165\u308a\u307e\u3059\uff08");  // 」が入ります（
  if (hint.family == kFamilyHiddenSingle && hint.house >= 0 && hint.house < 3) t.Add(kHouseNames[hint.house]);
  if (IsFamily(hint.family)) t.Add(kFamilyNames[hint.family]);
  if (IsFamily(hint.neededFamily)) {
    t.Add(L"\u3001\u5148\u306b");  // 、先に
    t.Add(kFamilyNames[hint.neededFamily]);
  }
  t.Add(L"\uff09");  // ）
}

int BoardView::ShowHint() {
  const Board* board = links.board;
  if (!board) return 0;
  int values[81];
  bool given[81];
  for (int i = 0; i < 81; ++i) {
    values[i] = board->GetValue(i / 9, i % 9);
    given[i] = board->IsGiven(i / 9, i % 9);
  }
  const Hint hint = FindHint(values, given);
  if (hint.kind != kHintNothing) Select(hint.row, hint.col);
  wchar_t text[128];
  FormatHintMessage(hint, text);
  if (links.messageBox) links.messageBox(MainWindow(), text, kMessageCaption, MB_OK);
  return 1;
}
