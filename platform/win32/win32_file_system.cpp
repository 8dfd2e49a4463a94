#include "platform/win32/win32_file_system.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
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

// Virus scanners, the search indexer and backup programs open a file that was just written for
// a moment. A step that fails because someone else has the file open is therefore tried again,
// a few times over about a second, before the failure counts.
constexpr unsigned long kWaitsWhileInUseMs[] = {50, 100, 150, 250, 450};

bool IsInUseCode(DWORD code) {
  return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ||
         code == ERROR_LOCK_VIOLATION;
}

// Runs `step` (true when it succeeded) until it succeeds, fails for another reason, or the
// waits are used up; GetLastError() tells the last failure's code.
template <typename Step>
bool TryWhileInUse(const Win32FileSystem::Wait& wait, Step step) {
  for (const unsigned long ms : kWaitsWhileInUseMs) {
    if (step()) return true;
    const DWORD code = GetLastError();
    if (!IsInUseCode(code)) return false;
    wait(ms);
    SetLastError(code);
  }
  return step();
}

// Removes a file of ours, also one that a scanner holds for a moment; true once it is gone.
bool RemoveWhileInUse(const Win32FileSystem::Wait& wait, const std::string& path) {
  return TryWhileInUse(wait, [&] { return DeleteFileA(path.c_str()) != FALSE; }) ||
         GetLastError() == ERROR_FILE_NOT_FOUND;
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
void RemoveAbandonedStagedFiles(const Win32FileSystem::Wait& wait, const std::string& destination) {
  const auto cut = destination.find_last_of("\\/");
  const std::string prefix = cut == std::string::npos ? "" : destination.substr(0, cut + 1);
  const std::string name = destination.substr(prefix.size());
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((destination + ".~vl*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const auto owner = StagedFileOwner(found.cFileName, name);
    if (owner && *owner != GetCurrentProcessId() && ProcessIsGone(*owner))
      RemoveWhileInUse(wait, prefix + found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// Makes a new entry of a name no one else uses beside `destination` through `create` (true when
// it made one); returns its name, or nothing when `create` failed for another reason than the
// name, with GetLastError() telling why.
template <typename Create>
std::optional<std::string> CreateUniquelyNamed(const std::string& destination, Create create) {
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    std::string name = StagedNameFor(destination);
    if (create(name)) return name;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return std::nullopt;
}

// Creates a new file of a name no one else uses beside `destination`; returns its name.
std::string CreateStagingFile(const std::string& destination, std::unique_ptr<FileHandle>& file) {
  const auto name = CreateUniquelyNamed(destination, [&file](const std::string& candidate) {
    file = std::make_unique<FileHandle>(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file->valid();
  });
  if (!name) FailWithCode(GetLastError(), destination);
  return *name;
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

Win32FileSystem::Win32FileSystem(Wait waitWhileInUse)
    : waitWhileInUse_(std::move(waitWhileInUse)) {}

// A destination is replaceable when it is new, or a file that is not read-only and that no one
// holds open. The read-only attribute is checked here because Wine's rename replaces read-only
// files where Windows refuses.
void Win32FileSystem::CheckDestination(const std::string& destination) {
  if (!FolderExists(destination)) Fail(error::kPathNotFound, destination);
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return;
    FailWithCode(code, destination);
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
    Fail(error::kPermissionDenied, destination);
  // Opening it for writing without sharing fails while anyone else has it open to read, write
  // or delete it. DELETE access is not asked for: it would find no other opener, and whether the
  // file virtualisation of 32-bit programs redirects an open that asks for it is not documented
  // (an open for writing is documented to be redirected). A destination that may be written but
  // not deleted still fails, with nothing changed, when the staged copy is renamed over it.
  HANDLE probe = INVALID_HANDLE_VALUE;
  const bool free = TryWhileInUse(waitWhileInUse_, [&] {
    probe = CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    return probe != INVALID_HANDLE_VALUE;
  });
  if (!free) FailWithCode(GetLastError(), destination);
  CloseHandle(probe);
}

std::string Win32FileSystem::Stage(const std::string& source, const std::string& destination) {
  CheckSource(source);
  CheckDestination(destination);

  FileHandle input(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!input.valid()) FailWithCode(GetLastError(), source);

  RemoveAbandonedStagedFiles(waitWhileInUse_, destination);
  std::unique_ptr<FileHandle> output;
  const std::string staged = CreateStagingFile(destination, output);
  try {
    StreamInto(input.get(), output->get(), source, destination);
    if (!FlushFileBuffers(output->get())) FailWriting(destination);
    if (!output->Close()) FailWriting(destination);
  } catch (...) {
    output->Close();
    RemoveWhileInUse(waitWhileInUse_, staged);
    throw;
  }
  return staged;
}

std::string Win32FileSystem::KeepAside(const std::string& path) {
  RemoveAbandonedStagedFiles(waitWhileInUse_, path);
  const auto link = CreateUniquelyNamed(path, [&path](const std::string& name) {
    return CreateHardLinkA(name.c_str(), path.c_str(), nullptr) != FALSE;
  });
  // Without links (FAT volumes, some network shares) the old contents are copied.
  return link ? *link : Stage(path, path);
}

void Win32FileSystem::Replace(const std::string& staged, const std::string& destination) {
  // Checked again: the destination may have changed since it was staged.
  const DWORD attributes = GetFileAttributesA(destination.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    Fail(error::kPermissionDenied, destination);
  const bool replaced = TryWhileInUse(waitWhileInUse_, [&] {
    return MoveFileExA(staged.c_str(), destination.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  });
  if (!replaced) FailWithCode(GetLastError(), destination);
}

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::Remove(const std::string& path) noexcept {
  return RemoveWhileInUse(waitWhileInUse_, path);
}

}  // namespace platform::win32
