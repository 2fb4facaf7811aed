#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The file system work behind gg.jl, written once per kind of system: gg_jl_file_posix.cpp
// and gg_jl_file_windows.cpp (news/CMakeLists.txt picks the file). What to read and write
// is decided in news_request.cpp; these functions only do it safely. On Windows, "symbolic
// link" below means any reparse point (a junction too).
namespace zhavik::news::gg_jl_file {

// True when files can be created in `folder`.
bool folder_writable(const QString& folder);

// At most `most` bytes from the start of the ordinary file at `path`. Nothing when no
// ordinary file stands there: missing, a folder, a FIFO, a device or a symbolic link, which
// is not followed even to an ordinary file. Empty bytes when it is one but cannot be read.
// Nothing ever waits on a FIFO.
std::optional<QByteArray> read_ordinary_file(const QString& path, qint64 most);

// Puts a file holding `bytes` at `path`, only where nothing stands, and whole: it is written
// under a name of its own in the same folder first and then put in place in one step that
// replaces nothing, so that no reader, another run starting at the same moment included,
// ever finds it empty or half written. False when nothing was put there: something already
// stands at `path` (another run's file, a link, a FIFO), or the folder cannot be written.
bool create_whole(const QString& path, const QByteArray& bytes);

}  // namespace zhavik::news::gg_jl_file
