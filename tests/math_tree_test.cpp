#include "linear_text.h"
#include "math_tree.h"
#include "page_reading.h"
#include "viewer_options.h"

#include "support/chapter_window.h"

#include <QProcess>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;

namespace {

QString ml(const char* linear) {
    const QString t = QString::fromUtf8(linear);
    return mathml(parseLinear(t), QString());
}

QString body(const QString& math) {
    const qsizetype open = math.indexOf(QLatin1Char('>')) + 1;
    return math.mid(open, math.lastIndexOf(QStringLiteral("</math>")) - open);
}

// The notation's constructs become MathML's, each part one element.
TEST(MathTree, TheNotationBecomesPresentationMathml) {
    const std::pair<const char*, const char*> cases[] = {
        {"2/N", "<mfrac><mn>2</mn><mi>N</mi></mfrac>"},
        {"(2N−1)π/(2N)",
         "<mfrac><mrow><mrow><mo>(</mo><mn>2</mn><mi>N</mi><mo>−</mo><mn>1</mn><mo>)</mo></mrow><mi>π</mi></mrow>"
         "<mrow><mn>2</mn><mi>N</mi></mrow></mfrac>"},
        {"e^(−ikx)", "<msup><mi>e</mi><mrow><mo>−</mo><mi>i</mi><mi>k</mi><mi>x</mi></mrow></msup>"},
        {"J′_(2n)", "<msub><msup><mi>J</mi><mo>′</mo></msup><mrow><mn>2</mn><mi>n</mi></mrow></msub>"},
        {"∑_(k=0)^n c_k",
         "<mrow><munderover><mo>∑</mo><mrow><mi>k</mi><mo>=</mo><mn>0</mn></mrow><mi>n</mi></munderover>"
         "<msub><mi>c</mi><mi>k</mi></msub></mrow>"},
        {"∫_0^(2π)", "<msubsup><mo>∫</mo><mn>0</mn><mrow><mn>2</mn><mi>π</mi></mrow></msubsup>"},
        {"√(1−ε^2)", "<msqrt><mn>1</mn><mo>−</mo><msup><mi>ε</mi><mn>2</mn></msup></msqrt>"},
        {"sin x", "<mrow><mi mathvariant=\"normal\">sin</mi><mi>x</mi></mrow>"},
        {"x\u0307", "<mover accent=\"true\"><mi>x</mi><mo>\u02D9</mo></mover>"},
        {"{■(0 & (k ≠ l))┤",
         "<mrow><mo>{</mo><mtable><mtr><mtd><mn>0</mn></mtd><mtd><mrow><mo>(</mo><mi>k</mi><mo>≠</mo><mi>l</mi>"
         "<mo>)</mo></mrow></mtd></mtr></mtable></mrow>"},
        {"x(t)/a", "<mfrac><mrow><mi>x</mi><mrow><mo>(</mo><mi>t</mi><mo>)</mo></mrow></mrow><mi>a</mi></mfrac>"},
        {"a < b", "<mrow><mi>a</mi><mo>&lt;</mo><mi>b</mi></mrow>"},
    };
    for (const auto& [linear, expected] : cases) EXPECT_EQ(body(ml(linear)).toStdString(), expected) << linear;
}

// Every formula of every page reads back to the text it came from, and the
// chapter's MathML is well-formed, with a <math> for each formula.
TEST(MathTree, EveryFormulaOfEveryPageReadsBackWhole) {
    for (const QString& name : chapterNames()) {
        ChapterWindow w(name);
        for (int n = 0; n <= w.window().lastPage(); ++n) {
            for (const QString& line : pageLines(w.window().pic(n))) {
                for (const auto& [run, formula] : formulaRuns(line)) {
                    if (!formula) continue;
                    QString bare = run;
                    bare.remove(QLatin1Char(' '));
                    EXPECT_EQ(linearOf(parseLinear(run)).toStdString(), bare.toStdString())
                        << name.toStdString() << " p" << n;
                }
            }
        }
    }
}

TEST(MathTree, TheChapterAsXhtmlIsWellFormedWithAMathForEveryFormula) {
    for (const QString& name : chapterNames()) {
        ChapterWindow w(name);
        const QString doc = chapterMathml(w.window());
        QXmlStreamReader xml(doc);
        int maths = 0;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("math")) ++maths;
        EXPECT_FALSE(xml.hasError()) << name.toStdString() << ": " << xml.errorString().toStdString();
        int formulas = 0;
        for (int n = 0; n <= w.window().lastPage(); ++n)
            for (const QString& line : pageLines(w.window().pic(n)))
                for (const auto& run : formulaRuns(line)) formulas += run.second;
        EXPECT_EQ(maths, formulas) << name.toStdString();
        EXPECT_GT(maths, name == QLatin1String("specimen") ? 10 : 40) << name.toStdString();
    }
}

}  // namespace
