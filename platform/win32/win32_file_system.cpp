#include "platform/win32/win32_file_system.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/runtime_error.h"
#include "platform/staged_file_name.h"
#include "platform/win32/file_error_numbers.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

constexpr DWORD kChunk = 1 << 20;
constexpr int kMaxNameAttempts = 1000;

[[noreturn]] void Fail(int number, const std::string& path) {
  throw RuntimeError(number, path);
}

[[noreturn]] void FailWithCode(DWORD code, const std::string& path) {
  Fail(FileErrorNumber(code), path);
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

// Missing file or missing folder: which one is decided by looking at the folder, so that the
// answer does not depend on which of the two codes a system version reports.
void CheckSource(const std::string& source) {
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
// holds open. The read-only attribute is checked here because Wine's rename replaces read-only
// files where Windows refuses.
void CheckDestination(const std::string& destination) {
  if (!FolderExists(destination)) Fail(error::kPathNotFound, destination);
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return;
    FailWithCode(code, destination);
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
    Fail(error::kPermissionDenied, destination);
  // Opening it for writing and deletion without sharing fails if anyone else has it open.
  FileHandle probe(CreateFileA(destination.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe.valid()) FailWithCode(GetLastError(), destination);
}

std::string StagedNameFor(const std::string& destination) {
  static std::atomic<std::uint32_t> counter{0};
  return StagedFileName(destination, GetCurrentProcessId(), counter++);
}

bool ProcessIsGone(DWORD processId) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
  const bool exited = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return exited;
}

// Removes what copies to `destination` staged in programs that were stopped before they
// finished; a staged file of a copy still running elsewhere is left alone.
void RemoveAbandonedStagedFiles(const std::string& destination) {
  const auto cut = destination.find_last_of("\\/");
  const std::string prefix = cut == std::string::npos ? "" : destination.substr(0, cut + 1);
  const std::string name = destination.substr(prefix.size());
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((destination + ".~vl*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const auto owner = StagedFileOwner(found.cFileName, name);
    if (owner && *owner != GetCurrentProcessId() && ProcessIsGone(*owner))
      DeleteFileA((prefix + found.cFileName).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// Creates a new file of a name no one else uses beside `destination`; returns its name.
std::string CreateStagingFile(const std::string& destination, std::unique_ptr<FileHandle>& file) {
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    std::string name = StagedNameFor(destination);
    file = std::make_unique<FileHandle>(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file->valid()) return name;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) FailWithCode(code, destination);
  }
  Fail(error::kPathFileAccess, destination);
}

[[noreturn]] void FailWriting(const std::string& destination) {
  Fail(IsDiskFullCode(GetLastError()) ? error::kDiskFull : error::kPathFileAccess, destination);
}

void StreamInto(HANDLE from, HANDLE to, const std::string& source, const std::string& destination) {
  std::vector<char> buffer(kChunk);
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(from, buffer.data(), kChunk, &got, nullptr)) Fail(error::kPathFileAccess, source);
    if (got == 0) return;
    for (DWORD written = 0; written < got;) {
      DWORD put = 0;
      if (!WriteFile(to, buffer.data() + written, got - written, &put, nullptr) || put == 0)
        FailWriting(destination);
      written += put;
    }
  }
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

std::string Win32FileSystem::Stage(const std::string& source, const std::string& destination) {
  CheckSource(source);
  CheckDestination(destination);

  FileHandle input(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!input.valid()) FailWithCode(GetLastError(), source);

  RemoveAbandonedStagedFiles(destination);
  std::unique_ptr<FileHandle> output;
  const std::string staged = CreateStagingFile(destination, output);
  try {
    StreamInto(input.get(), output->get(), source, destination);
    if (!FlushFileBuffers(output->get())) FailWriting(destination);
    if (!output->Close()) FailWriting(destination);
  } catch (...) {
    output->Close();
    DeleteFileA(staged.c_str());
    throw;
  }
  return staged;
}

void Win32FileSystem::Replace(const std::string& staged, const std::string& destination) {
  // Checked again: the destination may have changed since it was staged.
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    Fail(error::kPermissionDenied, destination);
  if (!MoveFileExA(staged.c_str(), destination.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    FailWithCode(GetLastError(), destination);
}

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Win32FileSystem::Remove(const std::string& path) noexcept {
  DeleteFileA(path.c_str());
}

}  // namespace platform::win32
