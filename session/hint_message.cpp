// The hint's message, in Japanese.
#include "session/hint_message.h"

namespace {

// Family names as a player knows them; a hidden single also names its house.
const wchar_t* const kFamilyNames[] = {
    L"\u6d88\u53bb\u6cd5",                              // 消去法
    L"\u96a0\u308c\u30b7\u30f3\u30b0\u30eb",            // 隠れシングル
    L"\u30dd\u30a4\u30f3\u30c6\u30a3\u30f3\u30b0",      // ポインティング
    L"\u30af\u30ec\u30fc\u30df\u30f3\u30b0",            // クレーミング
    L"\u30cd\u30a4\u30ad\u30c3\u30c9\u30da\u30a2",      // ネイキッドペア
    L"\u96a0\u308c\u30da\u30a2",                        // 隠れペア
    L"\u30cd\u30a4\u30ad\u30c3\u30c9\u30c8\u30ea\u30d7\u30eb", // ネイキッドトリプル
    L"\u96a0\u308c\u30c8\u30ea\u30d7\u30eb",  // 隠れトリプル
    L"X\u30a6\u30a3\u30f3\u30b0",             // Xウィング
    L"\u30b9\u30ab\u30a4\u30b9\u30af\u30ec\u30a4\u30d1\u30fc", // スカイスクレイパー
    L"\u30c4\u30fc\u30b9\u30c8\u30ea\u30f3\u30b0\u30ab\u30a4\u30c8", // ツーストリングカイト
    L"XY\u30a6\u30a3\u30f3\u30b0",            // XYウィング
    L"XYZ\u30a6\u30a3\u30f3\u30b0",           // XYZウィング
    L"W\u30a6\u30a3\u30f3\u30b0",             // Wウィング
    L"\u30cd\u30a4\u30ad\u30c3\u30c9\u30af\u30a2\u30c3\u30c9", // ネイキッドクアッド
    L"\u96a0\u308c\u30af\u30a2\u30c3\u30c9",  // 隠れクアッド
    L"\u30bd\u30fc\u30c9\u30d5\u30a3\u30c3\u30b7\u30e5", // ソードフィッシュ
    L"\u30b8\u30a7\u30ea\u30fc\u30d5\u30a3\u30c3\u30b7\u30e5", // ジェリーフィッシュ
    L"X\u30c1\u30a7\u30fc\u30f3",             // Xチェーン
    L"XY\u30c1\u30a7\u30fc\u30f3",            // XYチェーン
    L"\u30ca\u30a4\u30b9\u30eb\u30fc\u30d7",  // ナイスループ
    L"\u8a66\u884c\u932f\u8aa4",              // 試行錯誤
};
static_assert(sizeof kFamilyNames / sizeof kFamilyNames[0] == kDeductionFamilyCount,
              "one Japanese name per family");
const wchar_t* const kHouseNames[] = {
    L"\u884c",                    // 行
    L"\u5217",                    // 列
    L"\u30d6\u30ed\u30c3\u30af",  // ブロック
};
static_assert(sizeof kHouseNames / sizeof kHouseNames[0] == kHouseKinds, "one name per house kind");
const wchar_t kOf[] = L"\u306e";  // の

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
  // "R行C列"
  void AddCell(int row, int col) {
    AddDigit(row + 1);
    Add(kHouseNames[kRow]);
    AddDigit(col + 1);
    Add(kHouseNames[kColumn]);
  }
  // "「D」"
  void AddQuoted(int d) {
    Add(L"\u300c");
    AddDigit(d);
    Add(L"\u300d");
  }
};

bool IsFamily(int family) { return family >= 0 && family < kDeductionFamilyCount; }
bool IsHouse(int house) { return house >= 0 && house < kHouseKinds; }

// "R行C列の「D」が同じ行の「D」と重なっています"
void AddClash(const Hint& hint, Text* t) {
  t->AddCell(hint.row, hint.col);
  t->Add(kOf);
  t->AddQuoted(hint.digit);
  t->Add(L"\u304c\u540c\u3058");  // が同じ
  if (IsHouse(hint.clashHouse)) t->Add(kHouseNames[hint.clashHouse]);
  t->Add(kOf);
  t->AddQuoted(hint.digit);
  t->Add(L"\u3068\u91cd\u306a\u3063\u3066\u3044\u307e\u3059");  // と重なっています
}

// "（FAMILY）" or "（FAMILY、先にN行のNEEDED「D」「E」）"
void AddReason(const Hint& hint, Text* t) {
  t->Add(L"\uff08");  // （
  if (hint.family == int(DeductionFamily::kHiddenSingle) && IsHouse(hint.house)) {
    t->Add(kHouseNames[hint.house]);
    t->Add(kOf);
  }
  if (IsFamily(hint.family)) t->Add(kFamilyNames[hint.family]);
  if (IsFamily(hint.neededFamily)) {
    t->Add(L"\u3001\u5148\u306b");  // 、先に
    if (IsHouse(hint.neededHouse) && hint.neededHouseIndex >= 0 && hint.neededHouseIndex < 9) {
      t->AddDigit(hint.neededHouseIndex + 1);
      t->Add(kHouseNames[hint.neededHouse]);
      t->Add(kOf);
    }
    t->Add(kFamilyNames[hint.neededFamily]);
    for (int d = 1; d <= 9; ++d) {
      if (hint.neededDigits & (1u << d)) t->AddQuoted(d);
    }
  }
  t->Add(L"\uff09");  // ）
}

}  // namespace

void FormatHintMessage(const Hint& hint, wchar_t (&text)[128]) {
  Text t{text, 128};
  text[0] = 0;
  switch (hint.kind) {
    case kHintNothing:
      t.Add(L"\u30d2\u30f3\u30c8\u306f\u3042\u308a\u307e\u305b\u3093");  // ヒントはありません
      return;
    case kHintNoLogic:
      // この盤面からは論理だけでは解けません
      t.Add(L"\u3053\u306e\u76e4\u9762\u304b\u3089\u306f\u8ad6\u7406\u3060\u3051\u3067\u306f\u89e3\u3051\u307e\u305b\u3093");
      return;
    case kHintClash:
      AddClash(hint, &t);
      return;
    case kHintSeveralSolutions:
      t.Add(L"\u3053\u306e\u554f\u984c\u306b\u306f\u89e3\u304c\u8907\u6570\u3042\u308a\u307e\u3059");  // この問題には解が複数あります
      return;
    case kHintWrongValue:
      t.AddCell(hint.row, hint.col);
      t.Add(kOf);
      t.AddQuoted(hint.digit);
      t.Add(L"\u306f\u9593\u9055\u3044\u3067\u3059");  // は間違いです
      return;
    default:
      t.AddCell(hint.row, hint.col);
      t.Add(L"\u306b");  // に
      t.AddQuoted(hint.digit);
      t.Add(L"\u304c\u5165\u308a\u307e\u3059");  // が入ります
      AddReason(hint, &t);
      return;
  }
}
