#include "safe_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace shell;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

struct stat statOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

// A new file, a file replaced and a file reached through a link are written
// whole and keep what they had; nothing is left beside them.
TEST(SafeFile, WritesNewAndReplacedFilesKeepingModeAndLinks) {
    QTemporaryDir dir;
    const QString fresh = dir.filePath("fresh.pdf"), old = dir.filePath("old.pdf");
    EXPECT_EQ(writeFileSafely(fresh, "new"), QString());
    EXPECT_EQ(contents(fresh), "new");
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(statOf(fresh).st_mode & 07777, 0666 & ~mask);

    put(old, "old old old");
    ASSERT_EQ(::chmod(QFile::encodeName(old).constData(), 0640), 0);
    EXPECT_EQ(writeFileSafely(old, "replaced"), QString());
    EXPECT_EQ(contents(old), "replaced");
    EXPECT_EQ(statOf(old).st_mode & 07777, 0640u);

    // A link in a folder of one's own is followed to its target, relative
    // and through another link; the links stay links.
    ASSERT_TRUE(QDir().mkpath(dir.filePath("sub")));
    ASSERT_TRUE(QFile::link("../old.pdf", dir.filePath("sub/link.pdf")));
    ASSERT_TRUE(QFile::link(dir.filePath("sub/link.pdf"), dir.filePath("chain.pdf")));
    EXPECT_EQ(writeFileSafely(dir.filePath("chain.pdf"), "through two links"), QString());
    EXPECT_EQ(contents(old), "through two links");
    EXPECT_TRUE(S_ISLNK(statOf(dir.filePath("chain.pdf")).st_mode));
    EXPECT_TRUE(S_ISLNK(statOf(dir.filePath("sub/link.pdf")).st_mode));
    // A link to nothing yet makes its target, as opening it would.
    ASSERT_TRUE(QFile::link("sub/made.pdf", dir.filePath("dangling.pdf")));
    EXPECT_EQ(writeFileSafely(dir.filePath("dangling.pdf"), "made"), QString());
    EXPECT_EQ(contents(dir.filePath("sub/made.pdf")), "made");

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"chain.pdf", "dangling.pdf", "fresh.pdf", "old.pdf"}));
}

// What is not a regular file is refused and left as it is, and every other
// failure is the system's own words.
TEST(SafeFile, RefusesWhatIsNoRegularFileAndSaysWhy) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo"), folder = dir.filePath("folder");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(writeFileSafely(fifo, "x"), "a FIFO, not a regular file");
    EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));
    EXPECT_EQ(writeFileSafely(folder, "x"), "a folder, not a regular file");
    EXPECT_EQ(writeFileSafely(dir.filePath("folder/"), "x"), "a folder, not a regular file");
    EXPECT_EQ(writeFileSafely(dir.path() + "/.", "x"), "a folder, not a regular file");
    ASSERT_TRUE(QFile::link("fifo", dir.filePath("to-fifo")));
    EXPECT_EQ(writeFileSafely(dir.filePath("to-fifo"), "x"), "a FIFO, not a regular file");

    put(dir.filePath("plain"), "plain");
    EXPECT_EQ(writeFileSafely(dir.filePath("plain/x.pdf"), "x"), "Not a directory");
    EXPECT_EQ(writeFileSafely(dir.filePath("plain/"), "x"), "Not a directory");
    EXPECT_EQ(writeFileSafely(dir.filePath("missing/x.pdf"), "x"), "No such file or directory");
    EXPECT_EQ(writeFileSafely(QString(), "x"), "No such file or directory");
    ASSERT_TRUE(QFile::link("loop-b", dir.filePath("loop-a")));
    ASSERT_TRUE(QFile::link("loop-a", dir.filePath("loop-b")));
    EXPECT_EQ(writeFileSafely(dir.filePath("loop-a"), "x"), "Too many levels of symbolic links");
    EXPECT_EQ(contents(dir.filePath("plain")), "plain");
}

}  // namespace
