#include "safe_file.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace shell {

namespace {

constexpr int maxLinks = 40;  // as many as the kernel follows in one path

// A file descriptor closed when it goes.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) reset(std::exchange(other.fd_, -1));
        return *this;
    }
    ~Fd() { reset(); }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

QString systemWords(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString notARegularFile(mode_t mode) {
    const char* what = S_ISDIR(mode)    ? "a folder"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISFIFO(mode) ? "a FIFO"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "something";
    return QStringLiteral("%1, not a regular file").arg(QLatin1String(what));
}

// The kernel's protected-links rule: in a sticky folder anyone may write to,
// a link is followed only by its owner or when the folder's owner made it.
bool isPlantedLink(const struct stat& folder, const struct stat& link) {
    return (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH) && link.st_uid != geteuid() &&
           link.st_uid != folder.st_uid;
}

void pushFront(std::deque<std::string>& parts, const std::string& path) {
    std::deque<std::string> front;
    size_t from = 0;
    while (from <= path.size()) {
        const size_t slash = std::min(path.find('/', from), path.size());
        if (slash > from) front.push_back(path.substr(from, slash - from));
        from = slash + 1;
    }
    parts.insert(parts.begin(), front.begin(), front.end());
}

// Where a path leads: the folder that holds its last entry and the entry's
// name, with what stands there now.
struct Place {
    Fd folder;
    std::string name;
    bool exists = false;
    struct stat now {};
};

// Follows path one entry at a time, as opening it would, so that each link
// on the way can be judged before it is followed. An empty text, or why the
// path cannot be written.
QString resolve(const std::string& path, Place& place) {
    if (path.empty()) return systemWords(ENOENT);
    std::deque<std::string> rest;
    pushFront(rest, path);
    bool mustBeFolder = path.back() == '/';
    Fd folder(::open(path.front() == '/' ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder) return systemWords(errno);
    for (int links = 0;;) {
        if (rest.empty()) return notARegularFile(S_IFDIR);  // "/" or "."
        const std::string part = std::move(rest.front());
        rest.pop_front();
        const bool last = rest.empty();
        if (part == "." || part == "..") {
            if (last) return notARegularFile(S_IFDIR);
            folder = Fd(::openat(folder.get(), part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
            if (!folder) return systemWords(errno);
            continue;
        }
        struct stat st {};
        if (::fstatat(folder.get(), part.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT && last && !mustBeFolder) {
                place.folder = std::move(folder);
                place.name = part;
                return {};
            }
            return systemWords(errno);
        }
        if (S_ISLNK(st.st_mode)) {
            if (++links > maxLinks) return systemWords(ELOOP);
            struct stat holder {};
            if (::fstat(folder.get(), &holder) != 0) return systemWords(errno);
            if (isPlantedLink(holder, st))
                return QStringLiteral("a link another user put in a shared folder; it is not followed");
            std::string target(size_t(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
            const ssize_t n = ::readlinkat(folder.get(), part.c_str(), target.data(), target.size());
            if (n < 0) return systemWords(errno);
            if (size_t(n) == target.size()) return systemWords(ENAMETOOLONG);  // changed under us
            target.resize(size_t(n));
            if (target.empty()) return systemWords(ENOENT);
            if (last && target.back() == '/') mustBeFolder = true;
            if (target.front() == '/') {
                folder = Fd(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                if (!folder) return systemWords(errno);
            }
            pushFront(rest, target);
            continue;
        }
        if (!last || mustBeFolder) {
            if (!S_ISDIR(st.st_mode)) return systemWords(ENOTDIR);
            if (last) return notARegularFile(st.st_mode);
            folder = Fd(::openat(folder.get(), part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!folder) return systemWords(errno);
            continue;
        }
        if (!S_ISREG(st.st_mode)) return notARegularFile(st.st_mode);
        // Renaming over a file needs no right to write it; opening it would.
        if (::faccessat(folder.get(), part.c_str(), W_OK, AT_EACCESS) != 0) return systemWords(errno);
        place.folder = std::move(folder);
        place.name = part;
        place.exists = true;
        place.now = st;
        return {};
    }
}

QString writeInto(Place& place, const QByteArray& bytes) {
    const int folder = place.folder.get();
    // Hidden, beside the target, under a name no one else has.
    std::string temp;
    Fd file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        char tag[20];
        std::snprintf(tag, sizeof tag, ".%08x", QRandomGenerator::global()->generate());
        temp = "." + place.name.substr(0, 200) + tag;
        file = Fd(::openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file && errno != EEXIST) return systemWords(errno);
    }
    if (!file) return systemWords(EEXIST);
    auto fail = [&](int error) {
        file.reset();
        ::unlinkat(folder, temp.c_str(), 0);
        return systemWords(error);
    };
    if (place.exists) {
        // A file replaced keeps its owner where this user may give it (root
        // writing a user's file), and its mode, set after: a change of owner
        // clears the set-id bits.
        if (place.now.st_uid != geteuid() || place.now.st_gid != getegid()) {
            [[maybe_unused]] const int kept = ::fchown(file.get(), place.now.st_uid, place.now.st_gid);
        }
        if (::fchmod(file.get(), place.now.st_mode & 07777) != 0) return fail(errno);
    }
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(file.get(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(errno);
        if (n == 0) return fail(EIO);
        done += n;
    }
    if (::fsync(file.get()) != 0) return fail(errno);
    if (::close(file.release()) != 0) return fail(errno);
    if (::renameat(folder, temp.c_str(), folder, place.name.c_str()) != 0) return fail(errno);
    // The rename is made lasting by flushing the folder; a file system that
    // cannot flush folders says so with EINVAL, which is no failure.
    const Fd flushed(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (flushed && ::fsync(flushed.get()) != 0 && errno == EIO) return systemWords(EIO);
    return {};
}

}  // namespace

QString writeFileSafely(const QString& path, const QByteArray& bytes) {
    Place place;
    if (QString why = resolve(QFile::encodeName(path).toStdString(), place); !why.isEmpty()) return why;
    return writeInto(place, bytes);
}

QString writeStandardOutput(const QByteArray& bytes) {
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
        std::fflush(stdout) == 0)
        return {};
    return systemWords(errno ? errno : EIO);
}

}  // namespace shell
