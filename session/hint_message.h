// The hint's message: which cell, which digit, and in Japanese the family
// of techniques that decides it, up to the techniques of level 6 (Xウィング,
// ナイスループ, 試行錯誤, ...).
#pragma once

#include "solver/explain.h"

// The message for `hint`, zero-terminated, with row, column and digit as
// ASCII digits (rows and columns counted from 1):
//   wrong value:  "R行C列の「D」は間違いです"
//   decided cell: "R行C列に「D」が入ります（FAMILY）", or with a step of a
//                 higher level needed first "（FAMILY、先にN行のNEEDED「D」…）"
//                 naming its house (行, 列 or ブロック) and digits
//   clash:        "R行C列の「D」が同じ行の「D」と重なっています" (行, 列 or
//                 ブロック: the house the two cells share)
//   no logic:     "この盤面からは論理だけでは解けません"
//   several solutions: "この問題には解が複数あります"
//   nothing:      "ヒントはありません"
void FormatHintMessage(const Hint& hint, wchar_t (&text)[128]);
