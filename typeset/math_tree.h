// The linear notation read back into a tree (x^2, c_(n−k), 2/N,
// ∑_(k=0)^n, √(1−ε^2), ẋ, {■(a & p @ b & q)┤), and the tree written as
// Presentation MathML: the structure a reading line's formulas had when the
// page drew them.
#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace typeset {

struct MathNode {
    enum Kind {
        Row,         // its children one after another
        Fenced,      // a bracketed row whose brackets show: ( … )
        Identifier,  // a letter, with the marks it carries: x, ẋ, J′
        Name,        // an upright name: sin, cos, lim
        Number,
        Operator,    // a sign: =, +, −, (, a comma
        Text,        // anything else the line holds
        Fraction,    // numerator, denominator
        Scripts,     // base, subscript (or empty), superscript (or empty)
        BigOperator,  // ∑ or ∫ (text), lower limit, upper limit (either empty)
        Radical,     // radicand
        Cases,       // rows; text "{" (brace on the left) or "}" (on the right)
        CaseRow,     // the row's columns
    };
    Kind kind = Row;
    QString text;
    std::vector<MathNode> children;
    bool empty() const { return kind == Row && children.empty() && text.isEmpty(); }
};

// The tree of a text in the linear notation. Whatever it does not know as
// notation stays as identifiers, numbers, operators and text, so that every
// character of the input is in the tree.
MathNode parseLinear(const QString& linear);

// The tree written again in the notation, blanks left out: parsing what a
// page reads gives the same text back, so nothing of a formula was lost.
QString linearOf(const MathNode& node);

// A <math> element (MathML Core) for the tree, with alttext as its spoken
// reading.
QString mathml(const MathNode& node, const QString& alttext);

// A reading line parted into prose and formulas: (text, is a formula), in
// order. A formula is a run of the line that is not Japanese nor an English
// phrase and holds a letter of a formula or a sign.
std::vector<std::pair<QString, bool>> formulaRuns(const QString& line);

// Text for XML: &, <, > and " escaped.
QString xmlEscaped(const QString& text);

}  // namespace typeset
