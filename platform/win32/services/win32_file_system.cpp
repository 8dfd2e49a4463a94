#include "platform/win32/services/win32_file_system.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/services/runtime_error.h"
#include "platform/win32/services/file_error_numbers.h"
#include "platform/win32/services/folder_identity.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// The size cp copies in. Measured on 256 MB archives: 1 MiB writes often took twice as long
// on a virtual machine, 128 KiB writes never did.
constexpr DWORD kChunk = 128 << 10;

[[noreturn]] void Fail(int number, const std::string& path) {
  throw RuntimeError(number, path);
}

[[noreturn]] void FailWithCode(DWORD code, const std::string& path) {
  Fail(FileErrorNumber(code), path);
}

// Someone else has the file open: a virus scanner, the indexer or a backup program for a
// moment, or the game for as long as it runs.
bool IsInUseCode(DWORD code) {
  return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ||
         code == ERROR_LOCK_VIOLATION;
}

[[noreturn]] void FailOrInUse(DWORD code, const std::string& path) {
  if (IsInUseCode(code)) throw FileInUse(path);
  FailWithCode(code, path);
}

bool IsNameTakenCode(DWORD code) {
  return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool Close() {
    if (!valid()) return true;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != FALSE;
  }

 private:
  HANDLE handle_;
};

bool IsFolderAttributes(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FolderExists(const std::string& path) {
  return IsFolderAttributes(GetFileAttributesA(FolderOf(path).c_str()));
}

// Read-only files are refused here because Wine's rename replaces them where Windows refuses.
void RefuseFolderOrReadOnly(const std::string& destination) {
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    Fail(error::kPermissionDenied, destination);
}

[[noreturn]] void FailWriting(const std::string& destination) {
  Fail(IsDiskFullCode(GetLastError()) ? error::kDiskFull : error::kPathFileAccess, destination);
}

void StreamInto(HANDLE from, HANDLE to, const std::string& source, const std::string& destination,
                ContentSum& sum) {
  std::vector<char> buffer(kChunk);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(from, buffer.data(), kChunk, &got, nullptr)) Fail(error::kPathFileAccess, source);
    if (got == 0) return;
    sum.Add(buffer.data(), got);
    for (DWORD written = 0; written < got;) {
      DWORD put = 0;
      if (!WriteFile(to, buffer.data() + written, got - written, &put, nullptr) || put == 0)
        FailWriting(destination);
      written += put;
    }
  }
}

// `name` made new for writing, unshared; INVALID_HANDLE_VALUE when the name is taken already.
// Any other failure is reported against `reported`.
HANDLE CreateNewFile(const std::string& name, const std::string& reported) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (!IsNameTakenCode(code)) FailWithCode(code, reported);
  }
  return file;
}

// Hands every chunk of the file `path` to `take`; false when it cannot be read whole.
template <typename Take>
bool ReadEach(const std::string& path, Take take) {
  FileHandle input(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!input.valid()) return false;
  std::vector<char> buffer(kChunk);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(input.get(), buffer.data(), kChunk, &got, nullptr)) return false;
    if (got == 0) return true;
    take(buffer.data(), got);
  }
}

void SleepFor(unsigned long milliseconds) {
  Sleep(milliseconds);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const auto cut = path.find_last_of("\\/");
  const bool hasDrive = path.size() >= 2 && path[1] == ':';
  if (cut == std::string::npos) return hasDrive ? path.substr(0, 2) : ".";
  if (cut == 0) return "\\";
  if (hasDrive && cut == 2) return path.substr(0, 3);
  return path.substr(0, cut);
}

Win32FileSystem::Win32FileSystem() : Win32FileSystem(SleepFor) {}

Win32FileSystem::Win32FileSystem(Waiting waiting) : waiting_(std::move(waiting)) {}

// Missing file or missing folder: which one is decided by looking at the folder, so that the
// answer does not depend on which of the two codes a system version reports.
void Win32FileSystem::CheckSource(const std::string& source) {
  const DWORD attributes = GetFileAttributesA(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
      Fail(FolderExists(source) ? error::kFileNotFound : error::kPathNotFound, source);
    FailWithCode(code, source);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) Fail(error::kPathFileAccess, source);
}

// A destination is replaceable when it is new, or a file that is not read-only and that no one
// holds open.
void Win32FileSystem::CheckDestination(const std::string& destination) {
  if (!FolderExists(destination)) Fail(error::kPathNotFound, destination);
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return;
    FailWithCode(code, destination);
  }
  RefuseFolderOrReadOnly(destination);
  // Opening it for writing without sharing fails while anyone else has it open to read, write
  // or delete it. DELETE access is not asked for: it would find no other opener, and whether the
  // file virtualisation of 32-bit programs redirects an open that asks for it is not documented
  // (an open for writing is documented to be redirected). A destination that may be written but
  // not deleted still fails, with nothing changed, when the staged copy is renamed over it.
  FileHandle probe(CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe.valid()) FailOrInUse(GetLastError(), destination);
}

bool Win32FileSystem::CopyToNew(const std::string& source, const std::string& name,
                                const std::string& destination, ContentSum& sum) {
  FileHandle input(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!input.valid()) FailWithCode(GetLastError(), source);
  FileHandle output(CreateNewFile(name, destination));
  if (!output.valid()) return false;
  StreamInto(input.get(), output.get(), source, destination, sum);
  if (!FlushFileBuffers(output.get())) FailWriting(destination);
  if (!output.Close()) FailWriting(destination);
  return true;
}

bool Win32FileSystem::WriteNew(const std::string& name, const std::string& contents) {
  FileHandle output(CreateNewFile(name, name));
  if (!output.valid()) return false;
  for (std::size_t written = 0; written < contents.size();) {
    DWORD put = 0;
    const auto left = static_cast<DWORD>(std::min<std::size_t>(contents.size() - written, kChunk));
    if (!WriteFile(output.get(), contents.data() + written, left, &put, nullptr) || put == 0)
      FailWriting(name);
    written += put;
  }
  if (!FlushFileBuffers(output.get()) || !output.Close()) FailWriting(name);
  return true;
}

std::optional<std::string> Win32FileSystem::ReadAll(const std::string& path) {
  std::string contents;
  if (!ReadEach(path, [&](const char* bytes, DWORD size) { contents.append(bytes, size); }))
    return std::nullopt;
  return contents;
}

bool Win32FileSystem::ReadInto(const std::string& path, ContentSum& sum) {
  return ReadEach(path, [&](const char* bytes, DWORD size) { sum.Add(bytes, size); });
}

// Asking for the attributes alone opens a file whoever else holds it.
std::optional<FileFacts> Win32FileSystem::Facts(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  FileFacts facts{(std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow, {}};
  if (information.nFileIndexHigh != 0 || information.nFileIndexLow != 0) {
    char identity[64];
    std::snprintf(identity, sizeof identity, "%08lx-%08lx%08lx-%08lx%08lx",
                  static_cast<unsigned long>(information.dwVolumeSerialNumber),
                  static_cast<unsigned long>(information.nFileIndexHigh),
                  static_cast<unsigned long>(information.nFileIndexLow),
                  static_cast<unsigned long>(information.ftLastWriteTime.dwHighDateTime),
                  static_cast<unsigned long>(information.ftLastWriteTime.dwLowDateTime));
    facts.identity = identity;
  }
  return facts;
}

NewName Win32FileSystem::LinkToNew(const std::string& path, const std::string& name) {
  if (CreateHardLinkA(name.c_str(), path.c_str(), nullptr)) return NewName::kMade;
  return IsNameTakenCode(GetLastError()) ? NewName::kTaken : NewName::kRefused;
}

void Win32FileSystem::RenameOver(const std::string& from, const std::string& to) {
  RefuseFolderOrReadOnly(to);  // checked again: the destination may have changed since
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    FailOrInUse(GetLastError(), to);
}

// Flushing a file puts its folder entry on the disk with it: on FAT volumes the system writes
// the folders on the file's path along, where a flush of the folder itself would do nothing; on
// NTFS the journal up to the rename. A file that is gone has nothing to flush.
void Win32FileSystem::PutOnDisk(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return;
    FailOrInUse(code, path);
  }
  if (!FlushFileBuffers(file.get())) FailWriting(path);
}

Removal Win32FileSystem::Remove(const std::string& path) noexcept {
  if (DeleteFileA(path.c_str())) return Removal::kGone;
  const DWORD code = GetLastError();
  if (code == ERROR_FILE_NOT_FOUND) return Removal::kGone;
  return IsInUseCode(code) ? Removal::kInUse : Removal::kRefused;
}

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Win32FileSystem::NamesBeside(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string Win32FileSystem::FolderIdentity() {
  return WorkingFolderIdentity();
}

std::uint32_t Win32FileSystem::ProcessId() {
  return GetCurrentProcessId();
}

bool Win32FileSystem::ProcessIsGone(std::uint32_t processId) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
  const bool exited = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return exited;
}

}  // namespace platform::win32
