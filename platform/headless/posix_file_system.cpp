#include "platform/headless/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/services/runtime_error.h"

namespace platform::headless {
namespace {

// The size cp copies in. Measured on 256 MB archives: 1 MiB writes often took twice as long
// on a virtual machine, 128 KiB writes never did.
constexpr std::size_t kChunk = 128 << 10;

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

void StreamInto(int from, int to, const std::string& source, const std::string& destination,
                ContentSum& sum) {
  std::vector<char> buffer(kChunk);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      Fail(error::kPathFileAccess, source);
    }
    if (got == 0) return;
    sum.Add(buffer.data(), static_cast<std::size_t>(got));
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

// Hands every chunk of the file `path` to `take`; false when it cannot be read whole.
template <typename Take>
bool ReadEach(const std::string& path, Take take) {
  FileDescriptor input(::open(ToPosixPath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0) return false;
  std::vector<char> buffer(kChunk);
  for (;;) {
    const ssize_t got = ::read(input.get(), buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    take(buffer.data(), static_cast<std::size_t>(got));
  }
}

// "<device>-<inode>" in hexadecimal.
std::string Identity(const struct stat& info) {
  char identity[64];
  std::snprintf(identity, sizeof identity, "%llx-%llx",
                static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  return identity;
}

}  // namespace

std::string ToPosixPath(const std::string& path) {
  std::string result = path;
  for (char& c : result)
    if (c == '\\') c = '/';
  return result;
}

void PosixFileSystem::CheckSource(const std::string& source) {
  const std::string path = ToPosixPath(source);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT && IsFolder(FolderOf(path))) Fail(error::kFileNotFound, source);
    if (errno == ENOENT || errno == ENOTDIR) Fail(error::kPathNotFound, source);
    Fail(errno == EACCES ? error::kPermissionDenied : error::kPathFileAccess, source);
  }
  if (S_ISDIR(info.st_mode)) Fail(error::kPathFileAccess, source);
}

void PosixFileSystem::CheckDestination(const std::string& destination) {
  const std::string path = ToPosixPath(destination);
  if (!IsFolder(FolderOf(path))) Fail(error::kPathNotFound, destination);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return;  // a new file
  if (S_ISDIR(info.st_mode) || (info.st_mode & S_IWUSR) == 0)
    Fail(error::kPermissionDenied, destination);
}

bool PosixFileSystem::CopyToNew(const std::string& source, const std::string& name,
                                const std::string& destination, ContentSum& sum) {
  FileDescriptor input(::open(ToPosixPath(source).c_str(), O_RDONLY | O_CLOEXEC));
  if (input.get() < 0)
    Fail(errno == EACCES ? error::kPermissionDenied : error::kPathFileAccess, source);
  FileDescriptor output(
      ::open(ToPosixPath(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (output.get() < 0) {
    if (errno == EEXIST) return false;
    Fail(NumberForWriteError(errno), destination);
  }
  StreamInto(input.get(), output.get(), source, destination, sum);
  // On disk before it can replace anything, so that a crash leaves the old file or the new.
  if (!Synced(output.get()) || output.Close() != 0) Fail(NumberForWriteError(errno), destination);
  return true;
}

bool PosixFileSystem::WriteNew(const std::string& name, const std::string& contents) {
  const std::string path = ToPosixPath(name);
  FileDescriptor output(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (output.get() < 0) {
    if (errno == EEXIST) return false;
    Fail(NumberForWriteError(errno), name);
  }
  for (std::size_t written = 0; written < contents.size();) {
    const ssize_t put = ::write(output.get(), contents.data() + written, contents.size() - written);
    if (put < 0) {
      if (errno == EINTR) continue;
      Fail(NumberForWriteError(errno), name);
    }
    written += static_cast<std::size_t>(put);
  }
  if (!Synced(output.get()) || output.Close() != 0) Fail(NumberForWriteError(errno), name);
  PutOnDisk(name);  // the new name itself lives in the folder
  return true;
}

std::optional<std::string> PosixFileSystem::ReadAll(const std::string& path) {
  std::string contents;
  if (!ReadEach(path, [&](const char* bytes, std::size_t size) { contents.append(bytes, size); }))
    return std::nullopt;
  return contents;
}

bool PosixFileSystem::ReadInto(const std::string& path, ContentSum& sum) {
  return ReadEach(path, [&](const char* bytes, std::size_t size) { sum.Add(bytes, size); });
}

std::optional<FileFacts> PosixFileSystem::Facts(const std::string& path) {
  struct stat info {};
  if (::stat(ToPosixPath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  char written[48];
  std::snprintf(written, sizeof written, "-%lld.%09ld", static_cast<long long>(info.st_mtim.tv_sec),
                static_cast<long>(info.st_mtim.tv_nsec));
  return FileFacts{static_cast<std::uint64_t>(info.st_size), Identity(info) + written};
}

NewName PosixFileSystem::LinkToNew(const std::string& path, const std::string& name) {
  if (::link(ToPosixPath(path).c_str(), ToPosixPath(name).c_str()) == 0) return NewName::kMade;
  return errno == EEXIST ? NewName::kTaken : NewName::kRefused;
}

void PosixFileSystem::RenameOver(const std::string& from, const std::string& to) {
  const std::string target = ToPosixPath(to);
  // A read-only destination may not be replaced, even where the folder would allow it.
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0 &&
      (S_ISDIR(info.st_mode) || (info.st_mode & S_IWUSR) == 0))
    Fail(error::kPermissionDenied, to);
  if (::rename(ToPosixPath(from).c_str(), target.c_str()) != 0)
    Fail(NumberForWriteError(errno), to);
}

bool PosixFileSystem::Synced(int descriptor) const {
  return !syncs_ || ::fsync(descriptor) == 0;
}

// A rename lives in its folder: the folder is what goes to the disk.
void PosixFileSystem::PutOnDisk(const std::string& path) {
  FileDescriptor folder(
      ::open(FolderOf(ToPosixPath(path)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() < 0 || !Synced(folder.get())) Fail(NumberForWriteError(errno), path);
}

Removal PosixFileSystem::Remove(const std::string& path) noexcept {
  return ::unlink(ToPosixPath(path).c_str()) == 0 || errno == ENOENT ? Removal::kGone
                                                                     : Removal::kRefused;
}

bool PosixFileSystem::Exists(const std::string& path) {
  struct stat info {};
  return ::stat(ToPosixPath(path).c_str(), &info) == 0;
}

std::vector<std::string> PosixFileSystem::NamesBeside(const std::string& path) {
  std::vector<std::string> names;
  DIR* listing = ::opendir(FolderOf(ToPosixPath(path)).c_str());
  if (listing == nullptr) return names;
  while (const dirent* entry = ::readdir(listing)) names.emplace_back(entry->d_name);
  ::closedir(listing);
  return names;
}

std::string PosixFileSystem::FolderIdentity() {
  struct stat info {};
  return ::stat(".", &info) == 0 ? Identity(info) : std::string();
}

std::uint32_t PosixFileSystem::ProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

bool PosixFileSystem::ProcessIsGone(std::uint32_t processId) {
  return ::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH;
}

void PosixFileSystem::Wait(unsigned long milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform::headless
