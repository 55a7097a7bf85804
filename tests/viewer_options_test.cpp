#include "viewer_options.h"
#include "viewer_settings.h"

#include "support/printing_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

using Action = ViewerOptions::Action;

ViewerOptions parse(QStringList args) {
    args.prepend(QStringLiteral("/usr/bin/specimen"));
    return parseViewerOptions(args, SpecimenChapter::defaultProfile());
}

// The specimen has pages 0 to 2.
TEST(ViewerOptions, ReadsPageAndPrintInBothSpellings) {
    ViewerOptions o = parse({});
    EXPECT_EQ(o.action, Action::Run);
    EXPECT_EQ(o.page, -1);
    EXPECT_EQ(o.print, -1);
    o = parse({"--page", "2"});
    EXPECT_EQ(o.action, Action::Run);
    EXPECT_EQ(o.page, 2);
    EXPECT_EQ(o.print, -1);
    o = parse({"--print=0"});
    EXPECT_EQ(o.action, Action::Run);
    EXPECT_EQ(o.page, -1);
    EXPECT_EQ(o.print, 0);
    EXPECT_EQ(o.zoom, 0);
    EXPECT_FALSE(o.fullScreen);
    o = parse({"--zoom", "133", "--fullscreen"});
    EXPECT_EQ(o.action, Action::Run);
    EXPECT_EQ(o.zoom, 133);  // any whole per cent in range, not only a step
    EXPECT_TRUE(o.fullScreen);
    EXPECT_EQ(parse({"--zoom=50"}).zoom, 50);
    EXPECT_EQ(parse({"--zoom=400"}).zoom, 400);
    o = parse({"--pdf", "handout.pdf"});
    EXPECT_EQ(o.action, Action::Run);
    EXPECT_EQ(o.pdf, "handout.pdf");
    EXPECT_EQ(o.print, -1);
    EXPECT_EQ(o.handout, 1);
    EXPECT_EQ(parse({"--pdf", "h.pdf", "--handout", "4"}).handout, 4);
}

TEST(ViewerOptions, RefusesWhatItCannotDoInOneLine) {
    const std::pair<QStringList, QString> cases[] = {
        {{"--page", "99"}, "there is no page 99: pages are 0 to 2"},
        {{"--print", "3"}, "there is no page 3: pages are 0 to 2"},
        {{"--page", "-1"}, "there is no page -1: pages are 0 to 2"},
        {{"--page", "two"}, "--page needs a page number, not \"two\""},
        {{"--page"}, "Missing value after '--page'"},
        {{"--frobnicate"}, "Unknown option 'frobnicate'"},
        {{"page2"}, "unexpected argument \"page2\""},
        {{"--page", "1", "--print", "1"}, "--page and --print cannot be given together"},
        {{"--print", "1", "--print", "2"}, "--print is given more than once"},
        {{"--zoom", "49"}, "--zoom needs a percentage from 50 to 400, not \"49\""},
        {{"--zoom", "401"}, "--zoom needs a percentage from 50 to 400, not \"401\""},
        {{"--zoom", "1.5"}, "--zoom needs a percentage from 50 to 400, not \"1.5\""},
        {{"--zoom", "100", "--zoom", "200"}, "--zoom is given more than once"},
        {{"--pdf"}, "Missing value after '--pdf'"},
        {{"--pdf="}, "--pdf needs a file name"},
        {{"--pdf", "a.pdf", "--pdf", "b.pdf"}, "--pdf is given more than once"},
        {{"--pdf", "a.pdf", "--print", "1"}, "--pdf cannot be given with --page or --print"},
        {{"--page", "0", "--pdf", "a.pdf"}, "--pdf cannot be given with --page or --print"},
        {{"--text", "--pdf", "a.pdf"}, "--text cannot be given with --page, --print or --pdf"},
        {{"--print", "0", "--text"}, "--text cannot be given with --page, --print or --pdf"},
        {{"--spoken"}, "--spoken goes with --text"},
        {{"--mathml"}, "--mathml goes with --text"},
        {{"--text", "--spoken", "--mathml"}, "--mathml and --spoken cannot be given together"},
        {{"--zoom", "--text"}, "--zoom needs a value; \"--text\" is an option"},
        {{"--handout", "2"}, "--handout goes with --pdf"},
        {{"--pdf", "a.pdf", "--handout"}, "Missing value after '--handout'"},
        {{"--pdf", "a.pdf", "--handout", "0"}, "--handout needs 1, 2 or 4 pages a sheet, not \"0\""},
        {{"--pdf", "a.pdf", "--handout", "3"}, "--handout needs 1, 2 or 4 pages a sheet, not \"3\""},
        {{"--pdf", "a.pdf", "--handout", "x"}, "--handout needs 1, 2 or 4 pages a sheet, not \"x\""},
    };
    for (const auto& [args, why] : cases) {
        const ViewerOptions o = parse(args);
        EXPECT_EQ(o.action, Action::Error) << args.join(' ').toStdString();
        EXPECT_EQ(o.text, QStringLiteral("specimen: %1 (try specimen --help)").arg(why));
        EXPECT_EQ(reportViewerOptions(o), 2);
    }
}

TEST(ViewerOptions, HelpNamesTheViewerAndItsOptionsVersionItsRelease) {
    const ViewerOptions help = parse({"--page", "1", "--help"});
    EXPECT_EQ(help.action, Action::Help);
    EXPECT_TRUE(help.text.startsWith("Usage: specimen [options]\n")) << help.text.toStdString();
    EXPECT_TRUE(help.text.contains("--page <N>"));
    EXPECT_TRUE(help.text.contains("--print <N>"));
    EXPECT_TRUE(help.text.contains("--zoom <PERCENT>"));
    EXPECT_TRUE(help.text.contains("--fullscreen"));
    EXPECT_TRUE(help.text.contains("--pdf <FILE>"));
    EXPECT_TRUE(help.text.contains("--handout <N>"));
    EXPECT_TRUE(help.text.contains("--text"));
    EXPECT_TRUE(help.text.contains("Pages 0 to 2"));
    const ViewerOptions version = parse({"--version"});
    EXPECT_EQ(version.action, Action::Version);
    EXPECT_TRUE(QRegularExpression("^specimen \\d+\\.\\d+\\.\\d+\\n$").match(version.text).hasMatch())
        << version.text.toStdString();
}

class FailingPrinter : public PagePrinter {
public:
    bool printPage(const PrintedPage&) override { return false; }
};

class ViewerStart : public PrintingFixture {
protected:
    std::optional<int> startWith(QStringList args) {
        const ViewerOptions o = parse(std::move(args));
        EXPECT_EQ(o.action, Action::Run);
        return startViewer(make(), o);
    }
    int visibleBox() {
        for (int i = 0; i < form->boxCount(); ++i)
            if (form->pic(i).isVisibleTo(form.get())) return i;
        return -1;
    }
};

TEST_F(ViewerStart, PageOptionShowsThatPageAfterStartUp) {
    EXPECT_EQ(startWith({"--page", "2"}), std::nullopt);
    EXPECT_TRUE(form->startupDone());
    EXPECT_EQ(CurPage, 2);
    EXPECT_EQ(visibleBox(), 2);
    EXPECT_FALSE(form->cmdGo().isVisibleTo(form.get()));  // the last page
    EXPECT_TRUE(printed.empty());
}

TEST_F(ViewerStart, PrintOptionSendsOnePageWithPacingSkippedAndSaysSo) {
    EXPECT_EQ(startWith({"--print", "0"}), 0);
    EXPECT_EQ(SkipWait, 1);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].size(), QSize(792, 724));  // the print canvas: the window's client area
    EXPECT_EQ(Printing, 0);
}

TEST_F(ViewerStart, PrintOptionFailsWhenNoPageWentOut) {
    setPagePrinter(std::make_unique<FailingPrinter>());
    EXPECT_EQ(startWith({"--print", "1"}), 1);
    EXPECT_EQ(CurPage, 1);
}

TEST_F(ViewerStart, PdfOptionWritesEveryPageWithPacingSkipped) {
    QTemporaryDir dir;
    const QString path = dir.filePath("specimen.pdf");
    EXPECT_EQ(startWith({"--pdf", path}), 0);
    EXPECT_EQ(SkipWait, 1);
    EXPECT_EQ(Printing, 0);
    EXPECT_EQ(printed.size(), 0u);  // the printer was not asked
    QProcess info;
    info.start("pdfinfo", {path});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages: +3\\n")));
}

TEST_F(ViewerStart, PdfOptionFailsWhereTheFileCannotBeWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/specimen.pdf");
    EXPECT_EQ(startWith({"--pdf", path}), 1);
    EXPECT_FALSE(QFile::exists(path));
}

// The viewer program itself: exit statuses and where its messages go.
struct Finished {
    int status;
    QString out, err;
};
Finished runSpecimen(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SPECIMEN_VIEWER_PATH), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

// Neither help nor a mistake needs a display: both are answered before the
// application would connect to one.
QProcessEnvironment withoutDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

// A window for reading opens where the last was left: page, zoom, full
// screen; the command line wins; a file that is wrong is ignored with one
// line, one that cannot be written never stops the viewer.
TEST_F(ViewerStart, TheLastPageAndZoomAreRememberedAndTheCommandLineWins) {
    QTemporaryDir dir;
    const QString file = dir.filePath("config/courseviewers/specimen.conf");
    auto run = [&](QStringList args) {
        form.reset();
        resetShellState();
        ViewerOptions o = parse(std::move(args));
        o.settingsFile = file;
        EXPECT_EQ(startViewer(make(), o), std::nullopt);
    };
    run({});
    EXPECT_EQ(CurPage, 0);
    form->Forward();
    form->Forward();
    form->setZoom(75);
    QTest::keyClick(form.get(), Qt::Key_Escape);  // ends the program: written at once
    QString warning;
    EXPECT_EQ(readSettings(file, SpecimenChapter::defaultProfile(), &warning), (ViewerSettings{2, 75, false}));
    EXPECT_EQ(warning, QString());
    run({});
    EXPECT_EQ(CurPage, 2);
    EXPECT_EQ(form->zoom(), 75);
    run({"--page", "1", "--zoom", "150"});
    EXPECT_EQ(CurPage, 1);
    EXPECT_EQ(form->zoom(), 150);
    // Paging writes once it has settled.
    form->Backward();
    QTest::qWait(700);
    EXPECT_EQ(readSettings(file, SpecimenChapter::defaultProfile(), nullptr).page, 0);

    const std::pair<QByteArray, QString> wrong[] = {
        {"[view]\npage=7\nzoom=100\n", "holds no page of this chapter"},
        {"[view]\npage=1\nzoom=5000\n", "holds no zoom from 50 to 400"},
        {"[view]\npage=x\n", "holds no page of this chapter"},
        {"[view]\npage=1\nfullscreen=maybe\n", "holds no full-screen setting"},
    };
    for (const auto& [content, why] : wrong) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        EXPECT_EQ(readSettings(file, SpecimenChapter::defaultProfile(), &warning), ViewerSettings{});
        EXPECT_EQ(warning, file + ": " + why + "; it is ignored");
        run({});
        EXPECT_EQ(CurPage, 0);
    }
    // Binary rubbish reads as no settings at all.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    static const char rubbish[] = "\x00\xff\xfe[[[\x01";
    f.write(QByteArray(rubbish, sizeof rubbish - 1));
    f.close();
    run({});
    EXPECT_EQ(CurPage, 0);
    // Not writable: a folder stands where the file should be.
    const QString blocked = dir.filePath("blocked.conf");
    ASSERT_TRUE(QDir().mkpath(blocked + "/x"));
    EXPECT_EQ(writeSettings(blocked, {1, 100, false}), "a folder, not a regular file");
    EXPECT_EQ(readSettings(blocked, SpecimenChapter::defaultProfile(), &warning), ViewerSettings{});
    EXPECT_EQ(warning, blocked + ": cannot be read; it is ignored");
}

// What the reader is told of a settings file is one line, and true: a file
// read badly but written back is only ignored; one that can be neither read
// nor written says both; one whose folder cannot be made says that, once.
TEST_F(ViewerStart, ASettingsFileCostsAtMostOneTrueLine) {
    QTemporaryDir dir;
    const QString rubbish = dir.filePath("rubbish.conf"), folder = dir.filePath("folder.conf"),
                  under = dir.filePath("plain/courseviewers/specimen.conf");
    {
        QFile f(rubbish);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[view]\npage=\xff\xfe\x01[[", 15));
    }
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("plain")));
    {
        QFile f(dir.filePath("plain/courseviewers"));  // a file where the folder belongs
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const std::pair<QString, QString> cases[] = {
        {rubbish, rubbish + ": holds no page of this chapter; it is ignored\n"},
        {folder, folder + ": cannot be read nor written (a folder, not a regular file); the settings are not kept\n"},
        {under, under + ": cannot be written (its folder " + dir.filePath("plain/courseviewers") +
                    " cannot be made); the settings are not kept\n"},
    };
    for (const auto& [file, said] : cases) {
        form.reset();
        resetShellState();
        ViewerOptions o = parse({});
        o.settingsFile = file;
        testing::internal::CaptureStderr();
        EXPECT_EQ(startViewer(make(), o), std::nullopt);
        form->Forward();
        QTest::keyClick(form.get(), Qt::Key_Escape);  // ends the program: written again
        EXPECT_EQ(QString::fromStdString(testing::internal::GetCapturedStderr()), said);
    }
    QString warning;
    EXPECT_EQ(readSettings(rubbish, SpecimenChapter::defaultProfile(), &warning).page, 1);
    EXPECT_EQ(warning, QString());
}

TEST(ViewerProgram, BadCommandLinesExitWithStatusTwoAndOneLine) {
    // An option taken for another's value ("--pdf --text") is a value
    // missing, not a file called "--text".
    QTemporaryDir dir;
    for (const QStringList& args : {QStringList{"--page", "99"}, QStringList{"--frobnicate"},
                                    QStringList{"-frobnicate"}, QStringList{"--pdf", dir.filePath("x.pdf"), "-x"},
                                    QStringList{"--pdf", "--text"}, QStringList{"--pdf", "--help"}}) {
        for (const QProcessEnvironment& env : {QProcessEnvironment::systemEnvironment(), withoutDisplay()}) {
            const Finished r = runSpecimen(args, env);
            EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
            EXPECT_EQ(r.out, QString());
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.startsWith("specimen: ")) << r.err.toStdString();
        }
    }
    EXPECT_EQ(runSpecimen({"--pdf", "--text"}).err,
              "specimen: --pdf needs a value; \"--text\" is an option (try specimen --help)\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST(ViewerProgram, APdfNeedsNoDisplayAndAFailureIsOneLine) {
    QProcessEnvironment env = withoutDisplay();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // Nor any runtime folder: what the platform says as it starts is not
    // the PDF's to say.
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QTemporaryDir dir;
    const QString path = dir.filePath("specimen.pdf");
    const Finished ok = runSpecimen({"--pdf", path}, env);
    EXPECT_EQ(ok.status, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.err, QString());
    EXPECT_TRUE(QFileInfo(path).size() > 0);
    const QString missing = dir.filePath("missing/specimen.pdf");
    const Finished failed = runSpecimen({"--pdf", missing}, env);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "specimen: cannot write " + missing + " (No such file or directory)\n");
    // Three pages two to a sheet; a sheet of three pages is no handout.
    const QString handout = dir.filePath("handout.pdf");
    EXPECT_EQ(runSpecimen({"--pdf", handout, "--handout", "2"}, env).status, 0);
    QProcess info;
    info.start("pdfinfo", {handout});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages: +2\\n")));
    const QString refused = dir.filePath("three.pdf");
    const Finished bad = runSpecimen({"--pdf", refused, "--handout", "3"}, env);
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err.count('\n'), 1) << bad.err.toStdString();
    EXPECT_FALSE(QFile::exists(refused));
    // A viewer away from its PDF writer's module says so, and writes nothing.
    const QString alone = dir.filePath("alone/specimen");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("alone")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPECIMEN_VIEWER_PATH), alone));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(alone, {"--pdf", refused});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(err.startsWith("specimen: the PDF writer could not be loaded (")) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_FALSE(QFile::exists(refused));
}

TEST(ViewerProgram, TextNeedsNoDisplayAndAFailureIsOneLine) {
    QProcessEnvironment env = withoutDisplay();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    const Finished ok = runSpecimen({"--text"}, env);
    EXPECT_EQ(ok.status, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.err, QString());
    EXPECT_EQ(ok.out.count('\f'), 2) << ok.out.toStdString();  // three pages
    QProcess full;
    full.setProcessEnvironment(env);
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(SPECIMEN_VIEWER_PATH), {"--text"});
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_EQ(QString::fromLocal8Bit(full.readAllStandardError()),
              "specimen: the text could not be written to standard output (No space left on device)\n");
    // So is help: a write that failed is no success.
    full.start(QStringLiteral(SPECIMEN_VIEWER_PATH), {"--help"});
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_EQ(QString::fromLocal8Bit(full.readAllStandardError()),
              "specimen: standard output could not be written (No space left on device)\n");
}

TEST(ViewerProgram, HelpAndVersionNeedNoDisplay) {
    const QProcessEnvironment env = withoutDisplay();
    const Finished help = runSpecimen({"--help"}, env);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: specimen [options]\n")) << help.out.toStdString();
    const Finished version = runSpecimen({"-v"}, env);
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("specimen ")) << version.out.toStdString();
}

}  // namespace
