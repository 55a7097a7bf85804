// What the viewers do when the platform lets them down: no display, none of
// the substitute faces, no sound device. Each runs where it cannot disturb
// the test process: a viewer or the page renderer as a child process, or a
// sound player of its own.
#include "sound.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

#include <unistd.h>

using namespace typeset;

namespace {

struct ChildRun {
    int exitCode = -1;
    bool crashed = true;
    QString err;
};

ChildRun runChild(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    ChildRun r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("(did not end within 60 s)");
        return r;
    }
    r.exitCode = p.exitCode();
    r.crashed = p.exitStatus() == QProcess::CrashExit;
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// Something dark was drawn: the page is not blank.
bool hasInk(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) return true;
    return false;
}

}  // namespace

TEST(NoDisplay, TheViewerSaysSoInOneLineAndExitsWithOne) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    ChildRun r = runChild(QStringLiteral(ALDER_PATH), {}, env);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(), "alder: no display could be opened (DISPLAY is not set)\n");

    // A platform that does not exist at all fails the same way.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nosuchplatform"));
    r = runChild(QStringLiteral(ALDER_PATH), {}, env);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(), "alder: no display could be opened (platform nosuchplatform)\n");
}

TEST(MissingFaces, PagesStillDrawAndOneLineNamesTheMissingFaces) {
    // A font configuration whose only face is none of the substitutes.
    const QString onlyFace = QStringLiteral("/usr/share/fonts/truetype/noto/NotoSerif-Regular.ttf");
    ASSERT_TRUE(QFile::exists(onlyFace)) << "fonts-noto-core is missing";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("fonts"));
    ASSERT_TRUE(QFile::link(onlyFace, dir.filePath("fonts/only.ttf")));
    QFile conf(dir.filePath("fonts.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1</dir>"
                              "<cachedir>%2</cachedir></fontconfig>\n")
                   .arg(dir.filePath("fonts"), dir.filePath("cache"))
                   .toUtf8());
    conf.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FONTCONFIG_FILE"), conf.fileName());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());  // else Qt warns about it
    const ChildRun r = runChild(QStringLiteral(PAGESHOT_PATH), {"hazel", dir.filePath("out")}, env);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.toStdString(),
              "fonts: not installed: C059, DejaVu Sans, Liberation Sans, Liberation Serif, "
              "Nimbus Mono PS, Noto Sans CJK JP, Noto Sans Mono CJK JP, Noto Sans Symbols2, "
              "Standard Symbols PS; pages are drawn in the faces there are\n");
    for (int n = 0; n < 5; ++n) {
        const QImage page(dir.filePath(QStringLiteral("out/hazel-p%1.png").arg(n)));
        ASSERT_FALSE(page.isNull()) << "page " << n;
        EXPECT_TRUE(hasInk(page)) << "page " << n;
    }
}

// Whoever read the viewer's messages has gone (a pipe to a log reader that
// ended): a message then cannot be written, and must not end the viewer.
TEST(MessagesNobodyReads, DoNotEndTheViewer) {
    // One face only, so that the viewer has something to say at start-up.
    const QString onlyFace = QStringLiteral("/usr/share/fonts/truetype/noto/NotoSerif-Regular.ttf");
    ASSERT_TRUE(QFile::exists(onlyFace)) << "fonts-noto-core is missing";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("fonts"));
    ASSERT_TRUE(QFile::link(onlyFace, dir.filePath("fonts/only.ttf")));
    QFile conf(dir.filePath("fonts.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig><dir>%1</dir>"
                              "<cachedir>%2</cachedir></fontconfig>\n")
                   .arg(dir.filePath("fonts"), dir.filePath("cache"))
                   .toUtf8());
    conf.close();

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FONTCONFIG_FILE"), conf.fileName());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    p.setProcessEnvironment(env);
    // Standard error: a pipe whose reading end is closed.
    p.setChildProcessModifier([] {
        int fds[2];
        if (pipe(fds) != 0) _exit(97);
        close(fds[0]);
        dup2(fds[1], STDERR_FILENO);
        close(fds[1]);
    });
    // The page printed without a wait, then the end: 0 when it went out, 1
    // when there is no printer.
    p.start(QStringLiteral(ALDER_PATH), {QStringLiteral("--print"), QStringLiteral("0")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "ended by a signal";
    EXPECT_TRUE(p.exitCode() == 0 || p.exitCode() == 1) << p.exitCode();
}

TEST(NoSoundDevice, TheFailureIsSaidOnceAndLaterSoundsAreQuiet) {
    // The sound library's ALSA backend, pointed at a card that is not there.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile conf(dir.filePath("asound.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("pcm.!default { type hw card 97 }\nctl.!default { type hw card 97 }\n");
    conf.close();
    qputenv("ALSA_CONFIG_PATH", conf.fileName().toLocal8Bit());
    qputenv("CANBERRA_DRIVER", "alsa");

    testing::internal::CaptureStderr();
    {
        auto player = makeDesktopSoundPlayer();
        for (int i = 0; i < 20; ++i) player->play(i % 2 ? "bell" : "complete");
    }
    const std::string err = testing::internal::GetCapturedStderr();
    qunsetenv("ALSA_CONFIG_PATH");
    qunsetenv("CANBERRA_DRIVER");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.rfind("sound: event sounds cannot be played (", 0), 0u) << err;
}
