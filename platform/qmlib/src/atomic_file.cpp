// Temporary-then-rename output. The temporary is created with O_EXCL under a short name that
// no other writer uses (pid and a counter), so that a target name of any legal length still
// leaves room for it in the same folder. It gets mode 0666 less the umask like any new file,
// or the permission bits (and, where allowed, owner and group) of the file it replaces; a
// symbolic link is followed, so the link stays and the file it leads to is replaced. A
// read-only target is refused before anything is written, as the host refuses it. No fsync:
// the guarantee is against failures of this process (a full disk, a bad folder), as for any
// ordinary save.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "win32/text.h"

namespace qmlib {

namespace {

std::wstring ErrnoText(int code) { return plx::WideFromUtf8(std::strerror(code)); }

std::atomic<unsigned> temporaryCounter{0};

// The folder part of the caller's path, for messages ('/' or '\\' separators).
std::wstring ShownFolder(const std::wstring& shown) {
  const size_t slash = shown.find_last_of(L"/\\");
  if (slash == std::wstring::npos) {
    char cwd[4096];
    return ::getcwd(cwd, sizeof cwd) ? plx::WideFromUtf8(cwd) : std::wstring(L".");
  }
  return shown.substr(0, slash == 0 ? 1 : slash);
}

// Gives the new file what the old one had: owner and group where this process may set them,
// then the permission bits. Group bits are not handed to a group other than the old one.
void TakeOverAccess(int fd, const struct stat& old) {
  bool sameGroup = ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
  if (!sameGroup) {
    struct stat now {};
    sameGroup = ::fstat(fd, &now) == 0 && now.st_gid == old.st_gid;
  }
  const mode_t mode = (old.st_mode & 0777) & (sameGroup ? 0777 : 0707);
  if (::fchmod(fd, mode) != 0) {
    // The new file keeps the mode it was made with; the content is what matters.
  }
}

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

bool AtomicFile::Create(const std::string& requested, const std::wstring& shown, std::wstring& error) {
  Abandon();
  shown_ = shown;
  if (requested.empty()) {
    error = L"Unable to create the STL file: no file name was given";
    return false;
  }
  // A link to an existing file stays a link: the file it leads to is the one replaced, in its
  // own folder. A dangling link is replaced like a missing file.
  std::string target = requested;
  struct stat link {};
  if (::lstat(requested.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* real = ::realpath(requested.c_str(), nullptr)) {
      target = real;
      std::free(real);
    }
  }
  target_ = target;
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    error = plx::FormatWide(L"Unable to create file %s: it is a folder", shown.c_str());
    return false;
  }

  const bool replacing = exists && S_ISREG(existing.st_mode);
  if (replacing) {
    // Mode bits, not access(): the super-user may write anything, yet a file that nobody may
    // write is read-only to everyone.
    if ((existing.st_mode & 0222) == 0) {
      error = plx::FormatWide(L"Unable to replace file %s: it is read-only", shown.c_str());
      return false;
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
      error = plx::FormatWide(L"Unable to replace file %s: %s", shown.c_str(), ErrnoText(errno).c_str());
      return false;
    }
  }

  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  if (slash + 1 == target.size()) {
    error = plx::FormatWide(L"Unable to create file %s: the path names a folder, not a file", shown.c_str());
    return false;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    // At most 24 bytes, whatever the target's name.
    char name[32];
    std::snprintf(name, sizeof name, ".qm%x.%x.tmp", static_cast<unsigned>(::getpid()), temporaryCounter++);
    std::string candidate = folder + name;
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      fd_ = fd;
      temporary_ = std::move(candidate);
      if (replacing) TakeOverAccess(fd_, existing);
      return true;
    }
    if (errno == EEXIST) continue;
    const std::wstring reason = ErrnoText(errno);
    if (replacing) {
      // The file itself may be writable; what fails is the new file beside it. Through a link,
      // the folder that refuses is the linked file's own.
      const std::wstring folderShown =
          target == requested ? ShownFolder(shown) : plx::WideFromUtf8(folder.substr(0, std::max<size_t>(slash, 1)));
      error = plx::FormatWide(
          L"Unable to replace file %s: no new file can be made in its folder %s (%s), and the file is only "
          L"replaced by a complete new one written in that folder",
          shown.c_str(), folderShown.c_str(), reason.c_str());
    } else {
      error = plx::FormatWide(L"Unable to create file %s: %s", shown.c_str(), reason.c_str());
    }
    return false;
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

bool AtomicFile::WriteAt(uint64_t offset, const char* data, size_t size, std::wstring& error) const {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd_, data, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = plx::FormatWide(L"Unable to write file %s: %s", shown_.c_str(), ErrnoText(n < 0 ? errno : EIO).c_str());
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
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
