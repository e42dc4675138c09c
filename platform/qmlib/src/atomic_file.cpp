// Temporary-then-rename output. The temporary is created with O_EXCL under a name that no
// other writer uses (pid and a counter), with mode 0666 less the umask like any new file, or
// the mode of the file it replaces. No fsync: the guarantee is against failures of this
// process (a full disk, a bad folder), as for any ordinary save.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "win32/text.h"

namespace qmlib {

namespace {

std::wstring ErrnoText(int code) { return plx::WideFromUtf8(std::strerror(code)); }

std::atomic<unsigned> temporaryCounter{0};

}  // namespace

AtomicFile::~AtomicFile() { Abandon(); }

void AtomicFile::Abandon() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

bool AtomicFile::Create(const std::string& target, const std::wstring& shown, std::wstring& error) {
  Abandon();
  target_ = target;
  shown_ = shown;
  if (target.empty()) {
    error = L"Unable to create the STL file: no file name was given";
    return false;
  }
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    error = plx::FormatWide(L"Unable to create file %s: it is a folder", shown.c_str());
    return false;
  }

  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.empty()) {
    error = plx::FormatWide(L"Unable to create file %s: the path names a folder, not a file", shown.c_str());
    return false;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", static_cast<long>(::getpid()), temporaryCounter++);
    std::string candidate = folder + "." + name + suffix;
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      fd_ = fd;
      temporary_ = std::move(candidate);
      if (exists && S_ISREG(existing.st_mode)) ::fchmod(fd_, existing.st_mode & 07777);
      return true;
    }
    if (errno != EEXIST) {
      error = plx::FormatWide(L"Unable to create file %s: %s", shown.c_str(), ErrnoText(errno).c_str());
      return false;
    }
  }
  error = plx::FormatWide(L"Unable to create file %s: no free temporary name beside it", shown.c_str());
  return false;
}

bool AtomicFile::Write(const char* data, size_t size, std::wstring& error) {
  while (size > 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = plx::FormatWide(L"Unable to write file %s: %s", shown_.c_str(), ErrnoText(errno).c_str());
      Abandon();
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool AtomicFile::Commit(std::wstring& error) {
  if (fd_ < 0) {
    if (error.empty()) error = plx::FormatWide(L"Unable to write file %s", shown_.c_str());
    return false;
  }
  // close can report a deferred write error; the file is then not complete.
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) {
    error = plx::FormatWide(L"Unable to write file %s: %s", shown_.c_str(), ErrnoText(errno).c_str());
    Abandon();
    return false;
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error = plx::FormatWide(L"Unable to replace file %s: %s", shown_.c_str(), ErrnoText(errno).c_str());
    Abandon();
    return false;
  }
  temporary_.clear();
  return true;
}

}  // namespace qmlib
