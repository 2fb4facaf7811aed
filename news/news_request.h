#pragma once

#include <QByteArray>
#include <QString>

// The pure pieces of the news request: where gg.jl lies, what it says, and the
// address asked of the news server. Nothing here touches a widget or the network.
namespace zhavik::news {

// gg.jl in the program's folder. The separator is left out when the folder already ends
// with one, as a root folder does.
QString gg_jl_path(const QString& program_folder);

// gg.jl in the user's state folder: $XDG_STATE_HOME/zhavik/gg.jl, or
// ~/.local/state/zhavik/gg.jl when that variable is unset, empty or not an absolute path.
QString state_gg_jl_path(const QString& xdg_state_home, const QString& home);

// Where this run keeps gg.jl: beside the program when its folder can be written, else (an
// installed copy, in /usr/lib/zhavik) in the user's state folder, which is then created, so
// that an installed program too remembers its first run. On Windows that folder is
// %LOCALAPPDATA%\Zhavik (for a copy in Program Files).
QString gg_jl_place(const QString& program_folder);

// Today as the system's short date, with the blanks (U+0020) at both ends removed.
QString short_date_text();

// What gg.jl gives the request, with the file created when it is missing.
//   - An ordinary file: its first line (up to CR, LF or the end) decoded from code page 936;
//     "err" when it cannot be read, is empty, or its first line is empty or only blanks.
//   - Anything else (missing, a folder, a FIFO, a device, a symbolic link, even one to an
//     ordinary file): the file is created holding `today` in code page 936, only where
//     nothing of that name stands and whole (never seen empty), and `today` is the answer,
//     whether or not the writing worked. Should another run create it first, at the same
//     moment, that run's line is the answer. A link is never followed and nothing waits on a
//     FIFO.
// The answer is the value as the file holds it, before the blanks are taken out.
QString gg_jl_an(const QString& path, const QString& today);

// The first line of gg.jl's bytes as gg_jl_an reads it: "err" for empty or blank lines.
QString an_from_bytes(const QByteArray& bytes);

// Every blank (U+0020) removed; tabs and other spaces stay.
QString remove_blanks(const QString& text);

// The an value as the request carries it: gg_jl_an's answer with every blank removed, or
// "err" when that is longer than 64 characters (a first line that is no date).
QString an_to_send(const QString& an);

// The executable's name without folder and extension, blanks removed: the id value.
QString id_from_program_path(const QString& program_path);

// `host` (scheme and host, no trailing "/") + "/rjshengji/gg.htm?id=" + id + "&an=" + an.
// Both values are percent-encoded as query values: "&", "#", "+", "=", "%", control
// characters and everything beyond ASCII are escaped (as UTF-8), so no value can change the
// request's structure; plain names and dates ("zhavik", "2026/12/6") pass unchanged.
QByteArray request_address(const QString& host, const QString& id, const QString& an);

}  // namespace zhavik::news
