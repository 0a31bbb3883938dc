// Files on Windows: names in UTF-16, and a replaced file keeps its attributes and access list
// (ReplaceFileW). Access lists keep the user's folders his own, so there are no shared folders
// like /tmp to guard against here, and new files take the rights of their folder.
#include <algorithm>
#include <random>

#include "core/platform/platform.h"
#include "core/platform/windows/utf16.h"

namespace fondaris::core::platform {

namespace fs = std::filesystem;

std::filesystem::path nativePath(std::string_view utf8) {
  return fs::path(toUtf16(utf8));
}

std::string utf8Path(const std::filesystem::path& path) {
  return toUtf8(path.native());
}

namespace {

// Closes the handle when it goes; false while it holds none.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (*this) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

HANDLE openExisting(const std::wstring& path, DWORD access, DWORD flags) {
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, flags, nullptr);
}

// A new file in `folder` under a name nobody has; INVALID_HANDLE_VALUE when the folder takes
// none.
HANDLE createUniqueFile(const fs::path& folder, const std::wstring& stem, std::wstring& name,
                        DWORD flags) {
  std::random_device rd;
  for (int attempt = 0; attempt < 10; ++attempt) {
    name = (folder / (stem + L".tmp" + std::to_wstring(rd() % 1000000))).wstring();
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | flags, nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

fs::path folderOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(L".");
}

// Without a temporary file beside the target (a folder the user may not write, a file he may)
// the file is rewritten in place; should that fail halfway, its old content is put back.
bool writeInPlace(const std::string& path, std::string_view bytes) {
  const auto old = readFileBytes(path);
  const Handle file(openExisting(nativePath(path).wstring(), GENERIC_WRITE, FILE_ATTRIBUTE_NORMAL));
  if (!file) return false;
  const bool ok =
      writeAll(file.get(), bytes) && ::SetEndOfFile(file.get()) && ::FlushFileBuffers(file.get());
  LARGE_INTEGER start{};
  if (!ok && old && ::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) &&
      writeAll(file.get(), *old))
    ::SetEndOfFile(file.get());
  return ok;
}

// The written temporary file takes the target's place; an existing target hands over its
// attributes and access list.
bool moveOver(const std::wstring& temporary, const std::wstring& target, bool exists) {
  if (exists && ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  return ::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

FileResult replaceFile(const std::string& path, std::string_view bytes) {
  const fs::path target = nativePath(path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return Failure{FileError::NotAFile};
  if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return Failure{FileError::ReadOnly};

  std::wstring temporary;
  // Cut long names so that the suffix still fits the file system's name limit.
  const std::wstring stem = target.filename().wstring().substr(0, 200);
  const HANDLE created = createUniqueFile(folderOf(target), stem, temporary, 0);
  if (created == INVALID_HANDLE_VALUE) {
    if (exists && writeInPlace(path, bytes)) return {};
    return Failure{FileError::CannotWrite};
  }
  bool ok = false;
  {
    const Handle file(created);
    ok = writeAll(file.get(), bytes) && ::FlushFileBuffers(file.get());
  }
  if (ok) ok = moveOver(temporary, target.wstring(), exists);
  if (!ok) ::DeleteFileW(temporary.c_str());
  if (ok) return {};
  return Failure{FileError::CannotWrite};
}

bool isSharedFolder(const std::string&) {
  return false;
}

bool takenByOther(const std::string&) {
  return false;
}

namespace {

bool identityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  // Backup semantics open folders too; no access right is needed to read the identity.
  const Handle file(openExisting(nativePath(path).wstring(), 0, FILE_FLAG_BACKUP_SEMANTICS));
  return file && ::GetFileInformationByHandle(file.get(), &info);
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  return identityOf(a, ia) && identityOf(b, ib) &&
         ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

bool mayWriteFolder(const std::string& folder) {
  // Access lists decide, and only trying tells: a file that goes again when it is closed.
  std::wstring probe;
  const Handle file(createUniqueFile(nativePath(folder), L"fondaris", probe,
                                     FILE_FLAG_DELETE_ON_CLOSE | FILE_ATTRIBUTE_TEMPORARY));
  return static_cast<bool>(file);
}

}  // namespace fondaris::core::platform
