// A picture's formulas as linear text a reader can type back, in the style
// of UnicodeMath: x^2, c_(n−k), 2/N, ∑_(k=0)^n, ∫_0^(2π), √(1−ε^2), ẋ.
#pragma once

#include "page_text.h"

namespace typeset {

// The pieces of a picture as appendPieces gives them, except that each
// formula construct comes as one piece: its linear text, where it stands.
// What stands under a radical's rule, drawn after the sign, is its radicand.
// Spoken, a described figure's description stands for the figure's pieces
// (the text stays linear: words() makes it heard).
void appendLinearPieces(std::vector<TextPiece>& pieces, const Picture& picture,
                        QPointF offset = QPointF(), int block = 0, bool spoken = false);

// Per operation of the picture: whether it is part of a construct drawn
// apart from it (a numerator set after its bar), whose piece reads it.
std::vector<bool> readWithTheirConstruct(const Picture& picture);

// The linear text of one group of a picture, and of everything the group
// holds.
QString linearText(const Picture& picture, size_t group);

// A combining accent a letter carries after it (the dot of ẋ).
bool isCombiningMark(QChar c);

// A script's or a fraction part's text as it follows "^", "_" or "/":
// bracketed unless it is one number, one letter or bracketed already.
QString operand(const QString& text);

// A text with linear notation in it (a line of a page, a formula, a figure's
// description) as Japanese words a listener can write it down from, by one
// table of reading rules: "2 分の 1" for a fraction of two numbers, any other
// "分数 … オーバー … 分数終了"; "x の 2 乗" and "c サブ k" for a script of one
// symbol, "上付き … 上付き終了" and "下付き … 下付き終了" for more;
// "k イコール 0 から n までの総和"; "ルート かっこ … かっこ閉じ"; "N を 無限大 に
// 近づけたときの極限"; a word for every sign (イコール, 恒等的に等しい,
// ニアリーイコール, プラスマイナス, 小なりイコール, 無限大, ヤジルシ, の階乗).
QString words(const QString& text);

}  // namespace typeset
