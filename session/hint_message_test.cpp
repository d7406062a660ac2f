// The hint's messages, one per kind, and the buffer they never overrun.
#include "session/hint_message.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Message(const Hint& hint) {
  wchar_t text[128];
  FormatHintMessage(hint, text);
  return text;
}

Hint At(HintKind kind, int row, int col, int digit) {
  Hint hint;
  hint.kind = kind;
  hint.row = row;
  hint.col = col;
  hint.digit = digit;
  return hint;
}

TEST(HintMessageTest, EachKindHasItsMessage) {
  EXPECT_EQ(Message(At(kHintWrongValue, 0, 8, 4)), L"1行9列の「4」は間違いです");
  Hint clash = At(kHintClash, 2, 3, 7);
  clash.clashHouse = kBox;
  EXPECT_EQ(Message(clash), L"3行4列の「7」が同じブロックの「7」と重なっています");
  EXPECT_EQ(Message(At(kHintNothing, -1, -1, 0)), L"ヒントはありません");
  EXPECT_EQ(Message(At(kHintNoLogic, -1, -1, 0)), L"この盤面からは論理だけでは解けません");
  EXPECT_EQ(Message(At(kHintSeveralSolutions, -1, -1, 0)), L"この問題には解が複数あります");
}

TEST(HintMessageTest, ADecidedCellNamesItsFamilyAndWhatWasNeededFirst) {
  Hint hint = At(kHintDecided, 4, 4, 9);
  hint.family = int(DeductionFamily::kHiddenSingle);
  hint.house = kColumn;
  EXPECT_EQ(Message(hint), L"5行5列に「9」が入ります（列の隠れシングル）");
  hint.neededFamily = int(DeductionFamily::kHiddenPair);
  hint.neededHouse = kRow;
  hint.neededHouseIndex = 6;
  hint.neededDigits = (1u << 2) | (1u << 8);
  EXPECT_EQ(Message(hint), L"5行5列に「9」が入ります（列の隠れシングル、先に7行の隠れペア「2」「8」）");
  // Families and houses out of range are left out rather than read.
  hint.family = 99;
  hint.neededFamily = -7;
  hint.house = 12;
  EXPECT_EQ(Message(hint), L"5行5列に「9」が入ります（）");
}

TEST(HintMessageTest, TheLongestMessageFitsItsBuffer) {
  Hint hint = At(kHintDecided, 8, 8, 9);
  hint.family = kDeductionFamilyCount - 1;
  hint.neededFamily = kDeductionFamilyCount - 4;
  hint.neededHouse = kBox;
  hint.neededHouseIndex = 8;
  hint.neededDigits = 0x3fe;
  const std::wstring text = Message(hint);
  EXPECT_LT(text.size(), 128u);
  EXPECT_EQ(text.back(), L'）');
}

}  // namespace
