#include "platform/headless/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <vector>

#include "platform/runtime_error.h"
#include "platform/staged_file_name.h"

namespace platform::headless {
namespace {

constexpr std::size_t kChunk = 1 << 20;

[[noreturn]] void Fail(int number, const std::string& path) {
  throw RuntimeError(number, path);
}

int NumberForWriteError(int code) {
  switch (code) {
    case ENOSPC:
    case EDQUOT:
      return error::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return error::kPermissionDenied;
    case ENOENT:
    case ENOTDIR:
      return error::kPathNotFound;
    default:
      return error::kPathFileAccess;
  }
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FolderOf(const std::string& posixPath) {
  const auto slash = posixPath.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : posixPath.substr(0, slash);
}

std::string StagedNameFor(const std::string& destination) {
  static std::atomic<std::uint32_t> counter{0};
  return StagedFileName(destination, static_cast<std::uint32_t>(::getpid()), counter++);
}

bool ProcessIsGone(std::uint32_t processId) {
  return ::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH;
}

// Removes what copies to `path` staged in programs that were stopped before they finished.
void RemoveAbandonedStagedFiles(const std::string& path) {
  const std::string folder = FolderOf(path);
  const auto slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    const auto owner = StagedFileOwner(entry->d_name, name);
    if (owner && *owner != static_cast<std::uint32_t>(::getpid()) && ProcessIsGone(*owner))
      ::unlink((folder + '/' + entry->d_name).c_str());
  }
  ::closedir(listing);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

void CheckSource(const std::string& source, const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT && IsFolder(FolderOf(path))) Fail(error::kFileNotFound, source);
    if (errno == ENOENT || errno == ENOTDIR) Fail(error::kPathNotFound, source);
    Fail(errno == EACCES ? error::kPermissionDenied : error::kPathFileAccess, source);
  }
  if (S_ISDIR(info.st_mode)) Fail(error::kPathFileAccess, source);
}

void CheckDestination(const std::string& destination, const std::string& path) {
  if (!IsFolder(FolderOf(path))) Fail(error::kPathNotFound, destination);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return;  // a new file
  if (S_ISDIR(info.st_mode) || (info.st_mode & S_IWUSR) == 0)
    Fail(error::kPermissionDenied, destination);
}

void StreamInto(int from, int to, const std::string& source, const std::string& destination) {
  std::vector<char> buffer(kChunk);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(error::kPathFileAccess, source);
    }
    if (got == 0) return;
    for (ssize_t written = 0; written < got;) {
      const ssize_t put = ::write(to, buffer.data() + written, static_cast<size_t>(got - written));
      if (put < 0) {
        if (errno == EINTR) continue;
        Fail(NumberForWriteError(errno), destination);
      }
      written += put;
    }
  }
}

}  // namespace

std::string ToPosixPath(const std::string& path) {
  std::string result = path;
  for (char& c : result)
    if (c == '\\') c = '/';
  return result;
}

std::string PosixFileSystem::Stage(const std::string& source, const std::string& destination) {
  const std::string from = ToPosixPath(source);
  const std::string to = ToPosixPath(destination);
  CheckSource(source, from);
  CheckDestination(destination, to);

  FileDescriptor input(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0)
    Fail(errno == EACCES ? error::kPermissionDenied : error::kPathFileAccess, source);

  RemoveAbandonedStagedFiles(to);
  std::string staged = StagedNameFor(destination);
  const std::string stagedPath = ToPosixPath(staged);
  FileDescriptor output(::open(stagedPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (output.get() < 0) Fail(NumberForWriteError(errno), destination);
  try {
    StreamInto(input.get(), output.get(), source, destination);
    // On disk before it can replace anything, so that a crash leaves the old file or the new.
    if (::fsync(output.get()) != 0 || output.Close() != 0)
      Fail(NumberForWriteError(errno), destination);
  } catch (...) {
    ::unlink(stagedPath.c_str());
    throw;
  }
  return staged;
}

std::string PosixFileSystem::KeepAside(const std::string& path) {
  const std::string from = ToPosixPath(path);
  RemoveAbandonedStagedFiles(from);
  for (;;) {
    std::string name = StagedNameFor(path);
    if (::link(from.c_str(), ToPosixPath(name).c_str()) == 0) return name;
    if (errno != EEXIST) break;
  }
  // Without links (some file systems have none) the old contents are copied.
  return Stage(path, path);
}

void PosixFileSystem::Replace(const std::string& staged, const std::string& destination) {
  const std::string to = ToPosixPath(destination);
  // A read-only destination may not be replaced, even where the folder would allow it.
  struct stat info {};
  if (::stat(to.c_str(), &info) == 0 && (S_ISDIR(info.st_mode) || (info.st_mode & S_IWUSR) == 0))
    Fail(error::kPermissionDenied, destination);
  if (::rename(ToPosixPath(staged).c_str(), to.c_str()) != 0)
    Fail(NumberForWriteError(errno), destination);
}

bool PosixFileSystem::Exists(const std::string& path) {
  struct stat info {};
  return ::stat(ToPosixPath(path).c_str(), &info) == 0;
}

bool PosixFileSystem::Remove(const std::string& path) noexcept {
  return ::unlink(ToPosixPath(path).c_str()) == 0 || errno == ENOENT;
}

}  // namespace platform::headless
