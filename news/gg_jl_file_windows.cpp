// gg.jl's file work on Windows. Every call takes the wide-character name, so a folder of
// any name works whatever the system's code page; FILE_FLAG_OPEN_REPARSE_POINT makes every
// open act on the name itself, never on what a symbolic link, a junction or another
// reparse point leads to.

#include <QDir>
#include <QString>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "news/gg_jl_file.h"

namespace zhavik::news::gg_jl_file {
namespace {

std::wstring native_name(const QString& path) {
  return QDir::toNativeSeparators(path).toStdWString();
}

class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (valid()) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

constexpr DWORD kNotOrdinary =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;

// An ordinary file on a disk, as the open handle finds it: no folder, no reparse point, no
// device, pipe or console.
bool is_ordinary_file(HANDLE file) {
  if (GetFileType(file) != FILE_TYPE_DISK) return false;
  FILE_ATTRIBUTE_TAG_INFO info{};
  return GetFileInformationByHandleEx(file, FileAttributeTagInfo, &info, sizeof info) &&
         (info.FileAttributes & kNotOrdinary) == 0;
}

bool already_exists(DWORD error) {
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// A new file of that name, made only where nothing stands (not even a link), opened for
// `access` alone; readers may look at it meanwhile. `flags` adds to the attributes.
HANDLE create_new(const std::wstring& name, DWORD access, DWORD flags) {
  return CreateFileW(name.c_str(), access, FILE_SHARE_READ, nullptr, CREATE_NEW,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | flags, nullptr);
}

// A name beside `path` that no other run and no other call uses: the process and a count.
std::wstring unique_name(const std::wstring& path, const wchar_t* ending) {
  static std::atomic<unsigned> count{0};
  return path + L'.' + std::to_wstring(GetCurrentProcessId()) + L'.' +
         std::to_wstring(count.fetch_add(1)) + ending;
}

bool write_all(HANDLE file, const QByteArray& bytes) {
  for (qsizetype at = 0; at < bytes.size();) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(qMin<qsizetype>(bytes.size() - at, 1 << 20));
    if (!WriteFile(file, bytes.constData() + at, chunk, &written, nullptr) || written == 0)
      return false;
    at += written;
  }
  return true;
}

// Gives the open file the name `to`, unless something has that name. Renaming through the
// handle moves the very file that was written, whatever happened to its first name.
bool rename_without_replacing(HANDLE file, const std::wstring& to) {
  // The name follows the structure, ended by a NUL that the length leaves out.
  const DWORD name_bytes = static_cast<DWORD>(to.size() * sizeof(wchar_t));
  std::vector<char> buffer(offsetof(FILE_RENAME_INFO, FileName) + name_bytes + sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = FALSE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = name_bytes;
  std::memcpy(buffer.data() + offsetof(FILE_RENAME_INFO, FileName), to.data(), name_bytes);
  return SetFileInformationByHandle(file, FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size()));
}

void delete_when_closed(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

bool folder_writable(const QString& folder) {
  // On Windows only trying tells: the folder's access lists, a read-only medium or a
  // protected folder decide, not its read-only attribute. The trial file removes itself.
  const std::wstring trial = native_name(folder.endsWith(u'/') || folder.endsWith(u'\\')
                                             ? folder + QStringLiteral("gg.jl")
                                             : folder + QStringLiteral("/gg.jl"));
  for (int attempt = 0; attempt < 100; ++attempt) {
    const OwnedHandle file(create_new(unique_name(trial, L".try"), GENERIC_WRITE,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE));
    if (file.valid()) return true;
    if (!already_exists(GetLastError())) return false;
  }
  return false;
}

std::optional<QByteArray> read_ordinary_file(const QString& path, qint64 most) {
  const std::wstring name = native_name(path);
  // The attributes of the name itself: a link reports itself as a reparse point.
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kNotOrdinary) != 0)
    return std::nullopt;
  // Every sharing allowed, so that another run's use of the file is never in the way; the
  // second look: what is opened is still that ordinary file, even if something was put in
  // its place in between.
  const OwnedHandle file(CreateFileW(
      name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) return QByteArray();
  QByteArray bytes;
  if (is_ordinary_file(file.get())) {
    bytes.resize(most);
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(most), &read, nullptr)) read = 0;
    bytes.resize(read);
  }
  return bytes;
}

bool create_whole(const QString& path, const QByteArray& bytes) {
  const std::wstring name = native_name(path);
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    created = create_new(unique_name(name, L".new"), GENERIC_WRITE | DELETE, 0);
    if (created == INVALID_HANDLE_VALUE && !already_exists(GetLastError())) return false;
  }
  const OwnedHandle file(created);
  if (!file.valid()) return false;
  const bool placed = write_all(file.get(), bytes) && FlushFileBuffers(file.get()) &&
                      rename_without_replacing(file.get(), name);
  if (!placed) delete_when_closed(file.get());
  return placed;
}

}  // namespace zhavik::news::gg_jl_file
