// SAT 700 text: record formatting and the file around the records. Reals use the shortest
// round-trip form, so a file read back gives the same doubles.
#include "sat/SatWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

namespace plx::sat {

std::string FormatReal(double value) {
  assert(std::isfinite(value));
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

RecordText::RecordText(std::string_view name, Prefix prefix) : text_(name) {
  text_ += prefix == Prefix::kEntity ? " $-1 -1 $-1" : " $-1 -1";
}

RecordText& RecordText::Pointer(int64_t index) {
  text_ += " $";
  text_ += std::to_string(index < 0 ? -1 : index);
  return *this;
}

RecordText& RecordText::Int(int64_t value) {
  text_ += ' ';
  text_ += std::to_string(value);
  return *this;
}

RecordText& RecordText::Real(double value) {
  text_ += ' ';
  text_ += FormatReal(value);
  return *this;
}

RecordText& RecordText::Triple(double x, double y, double z) { return Real(x).Real(y).Real(z); }

RecordText& RecordText::Word(std::string_view word) {
  text_ += ' ';
  text_ += word;
  return *this;
}

RecordText& RecordText::String(std::string_view text) {
  text_ += " @";
  text_ += std::to_string(text.size());
  text_ += ' ';
  text_ += text;
  return *this;
}

RecordText& RecordText::Raw(std::string_view text) { return Word(text); }

int64_t SatDocument::Reserve() {
  slots_.emplace_back();
  return RecordCount() - 1;
}

void SatDocument::Set(int64_t index, const RecordText& record) {
  assert(index >= 0 && index < RecordCount() && slots_[index].length == 0);
  slots_[index] = {buffer_.size(), static_cast<uint32_t>(record.Text().size() + 2)};
  buffer_ += record.Text();
  buffer_ += " #";
}

int64_t SatDocument::Add(const RecordText& record) {
  const int64_t index = Reserve();
  Set(index, record);
  return index;
}

std::string SatDocument::Text() const {
  std::string text;
  text.reserve(256 + buffer_.size() + slots_.size());
  text += "700 " + std::to_string(RecordCount()) + " " + std::to_string(bodies_) + " 0 \n";

  char date[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  if (gmtime_r(&now, &parts)) std::strftime(date, sizeof date, "%a %b %d %H:%M:%S %Y", &parts);
  const std::string producer = "Plovex SAT writer";
  const std::string version = "ACIS 7.0 NT";
  for (const std::string_view field : {std::string_view(producer), std::string_view(version), std::string_view(date)}) {
    text += '@';
    text += std::to_string(field.size());
    text += ' ';
    text += field;
    text += ' ';
  }
  text += '\n';
  text += "1 9.9999999999999995e-07 1e-10 \n";
  for (const Slot& slot : slots_) {
    assert(slot.length > 0);
    text.append(buffer_, slot.offset, slot.length);
    text += '\n';
  }
  text += "End-of-ACIS-data\n";
  return text;
}

namespace {

std::string ErrnoText() { return std::strerror(errno); }

}  // namespace

bool WriteFileReplacing(const std::string& path, std::string_view text, std::string& error) {
  std::random_device entropy;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(entropy()));
    temporary = path + suffix;
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = "Cannot create " + path + ": " + ErrnoText();
    return false;
  }
  size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "Cannot write " + path + ": " + ErrnoText();
      ::close(fd);
      ::unlink(temporary.c_str());
      return false;
    }
    written += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) {
    error = "Cannot write " + path + ": " + ErrnoText();
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "Cannot replace " + path + ": " + ErrnoText();
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace plx::sat
