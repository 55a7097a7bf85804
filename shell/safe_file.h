// Writing the files a viewer makes (PDFs, settings) so that a failure never
// leaves part of one, and a path never leads the program to replace what is
// not an ordinary file: a device, a pipe, a folder, or a file reached through
// a link that someone else planted in a shared folder.
#pragma once

#include <QByteArray>
#include <QString>

namespace shell {

// Writes bytes as the file at path. The path is followed as the kernel would
// open it, every symbolic link on the way checked as the protected-links rule
// does: a link in a sticky, world-writable folder whose owner is neither this
// user nor the folder's is refused. A target that exists must be a regular
// file this user may write. The bytes go to a new file beside it, with the
// old file's mode (and owner, where allowed), which is flushed to the disk
// and renamed over the target, the folder flushed after. On any failure the
// new file is removed and the old one is left as it was.
// Returns an empty text, or why not: the system's words for the call that
// failed ("No space left on device"), or what stands at the path ("a FIFO,
// not a regular file").
QString writeFileSafely(const QString& path, const QByteArray& bytes);

// Writes bytes to standard output and flushes it: an empty text, or the
// system's words for why not (a full disk, a closed pipe).
QString writeStandardOutput(const QByteArray& bytes);

}  // namespace shell
