// ASCII STL parser. The file is read through one buffer of fixed size, so memory stays small
// whatever the file's size; words may cross buffer boundaries. The text is read as words
// separated by white space, so any line layout is accepted; keywords match in any case.
// Grammar:
//   solid [name]                       (the name is the rest of the line)
//   { facet normal n n n  outer loop  vertex x y z (three times)  endloop  endfacet }
//   endsolid [name]
// and, as some writers produce, further solid blocks; nothing else may follow. Numbers are
// parsed with from_chars (exact rounding to float, no locale). The first problem stops the
// parse and is reported with its line.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "stl_reader.h"
#include "vertex_welder.h"
#include "win32/text.h"

namespace qmlib {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

bool EqualsNoCase(std::string_view token, std::string_view keyword) {
  if (token.size() != keyword.size()) return false;
  for (size_t i = 0; i < token.size(); ++i) {
    char c = token[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != keyword[i]) return false;
  }
  return true;
}

constexpr size_t kMaxBufferSize = size_t{1} << 20;
constexpr size_t kMinBufferSize = 4096;  // holds the preamble and the longest word with room to read
constexpr size_t kMaxWord = 1024;        // far beyond any number or keyword

class AsciiParser {
 public:
  AsciiParser(int fd, const char* preamble, size_t preambleSize, uint64_t fileSize, const std::wstring& shown,
              std::wstring& error)
      : fd_(fd),
        bufferSize_(std::max(static_cast<size_t>(std::clamp<uint64_t>(fileSize, kMinBufferSize, kMaxBufferSize)),
                             preambleSize)),
        buffer_(std::make_unique_for_overwrite<char[]>(bufferSize_)),
        shown_(shown),
        error_(error) {
    std::memcpy(buffer_.get(), preamble, preambleSize);
    p_ = buffer_.get();
    end_ = p_ + preambleSize;
  }

  bool Parse(uint64_t fileSize, ON_Mesh& mesh) {
    // About 250 bytes a facet in the usual layout, half as many vertices as facets.
    const size_t expectedFacets = static_cast<size_t>(std::min<uint64_t>(fileSize / 256 + 1, 1 << 22));
    mesh.m_F.Reserve(expectedFacets);
    VertexWelder welder(mesh.m_V, expectedFacets / 2);

    if (!ExpectSolid()) return false;
    for (;;) {
      std::string_view token;
      if (!Next(token)) return Fail(L"the file ends before \"endsolid\"");
      if (EqualsNoCase(token, "endsolid")) {
        SkipRestOfLine();
        SkipSpace();
        if (failed_) return false;
        if (p_ == end_) return true;
        if (!ExpectSolid()) return false;
        continue;
      }
      if (!EqualsNoCase(token, "facet")) return Unexpected(token, L"\"facet\" or \"endsolid\"");
      if (!ParseFacet(mesh, welder)) return false;
    }
  }

 private:
  bool ParseFacet(ON_Mesh& mesh, VertexWelder& welder) {
    float normal[3];
    if (!Expect("normal", L"\"normal\" after \"facet\"")) return false;
    for (float& n : normal) {
      if (!Number(n, L"a normal component")) return false;
    }
    if (!Expect("outer", L"\"outer loop\"") || !Expect("loop", L"\"outer loop\"")) return false;
    int corner[3];
    for (int& index : corner) {
      if (!Expect("vertex", L"\"vertex\"")) return false;
      float xyz[3];
      for (float& c : xyz) {
        if (!Number(c, L"a vertex coordinate")) return false;
        if (!std::isfinite(c)) return Fail(L"a vertex coordinate is not a finite number");
      }
      index = welder.IndexOf(xyz[0], xyz[1], xyz[2]);
      if (index < 0) return Fail(L"more vertices than one mesh can hold");
    }
    if (!Expect("endloop", L"\"endloop\" after three vertices")) return false;
    if (!Expect("endfacet", L"\"endfacet\"")) return false;
    // A facet whose corners coincide has no area and no valid mesh face can hold it.
    if (corner[0] != corner[1] && corner[1] != corner[2] && corner[2] != corner[0]) {
      if (mesh.m_F.Count() == INT_MAX) return Fail(L"more facets than one mesh can hold");
      mesh.m_F.Append(ON_MeshFace{{corner[0], corner[1], corner[2], corner[2]}});
    }
    return true;
  }

  bool ExpectSolid() {
    SkipSpace();
    while (end_ - p_ < 5 && Refill(p_)) {
    }
    if (failed_) return false;
    if (end_ - p_ < 5 || !EqualsNoCase(std::string_view(p_, 5), "solid")) {
      std::string_view token;
      if (!Next(token)) return Fail(L"the file ends where \"solid\" was expected");
      return Unexpected(token, L"\"solid\"");
    }
    p_ += 5;
    SkipRestOfLine();
    return !failed_;
  }

  // Moves [keep, end_) to the front of the buffer and reads more behind it; keep and p_
  // follow. False at the end of the file or after a read error (failed_ then set).
  bool Refill(const char*& keep) {
    if (eof_ || failed_) return false;
    const size_t kept = static_cast<size_t>(end_ - keep);
    const size_t offset = static_cast<size_t>(p_ - keep);
    std::memmove(buffer_.get(), keep, kept);
    keep = buffer_.get();
    p_ = buffer_.get() + offset;
    end_ = buffer_.get() + kept;
    ssize_t n;
    do {
      n = ::read(fd_, buffer_.get() + kept, bufferSize_ - kept);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
      failed_ = true;
      error_ = plx::FormatWide(L"Unable to read file %s: %s", shown_.c_str(),
                               plx::WideFromUtf8(std::strerror(errno)).c_str());
      return false;
    }
    if (n == 0) {
      eof_ = true;
      return false;
    }
    end_ += n;
    return true;
  }

  void SkipSpace() {
    for (;;) {
      while (p_ < end_ && IsSpace(*p_)) {
        if (*p_ == '\n') ++line_;
        ++p_;
      }
      const char* keep = p_;
      if (p_ < end_ || !Refill(keep)) return;
    }
  }
  void SkipRestOfLine() {
    for (;;) {
      while (p_ < end_ && *p_ != '\n') ++p_;
      const char* keep = p_;
      if (p_ < end_ || !Refill(keep)) return;
    }
  }
  // The next word; false at the end of the file or after a failure. The word stays valid
  // until the next read.
  bool Next(std::string_view& token) {
    SkipSpace();
    if (p_ == end_ || failed_) return false;
    const char* start = p_;
    for (;;) {
      while (p_ < end_ && !IsSpace(*p_) && static_cast<size_t>(p_ - start) <= kMaxWord) ++p_;
      if (static_cast<size_t>(p_ - start) > kMaxWord) {
        Fail(L"a word of more than 1024 characters");
        failed_ = true;
        return false;
      }
      if (p_ < end_ || !Refill(start)) break;
    }
    if (failed_) return false;
    token = std::string_view(start, static_cast<size_t>(p_ - start));
    return true;
  }

  bool Expect(std::string_view keyword, const wchar_t* what) {
    std::string_view token;
    if (!Next(token)) return Fail(std::wstring(L"the file ends where ") + what + L" was expected");
    if (!EqualsNoCase(token, keyword)) return Unexpected(token, what);
    return true;
  }

  bool Number(float& value, const wchar_t* what) {
    std::string_view token;
    if (!Next(token)) return Fail(std::wstring(L"the file ends where ") + what + L" was expected");
    const char* first = token.data();
    const char* last = first + token.size();
    if (last - first > 1 && *first == '+' && first[1] != '-') ++first;  // from_chars takes no '+'
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range) return Fail(std::wstring(what) + L" is out of the range of a float");
    if (ec != std::errc() || ptr != last) return Unexpected(token, what);
    return true;
  }

  bool Unexpected(std::string_view token, const wchar_t* what) {
    // Show at most 32 bytes of what was found, without control characters.
    std::string shown(token.substr(0, 32));
    for (char& c : shown) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    if (token.size() > 32) shown += "...";
    return Fail(std::wstring(L"expected ") + what + L", found \"" + plx::WideFromUtf8(shown) + L"\"");
  }

  // Keeps the first problem: a read error or an overlong word outranks what follows from it.
  bool Fail(const std::wstring& problem) {
    if (!failed_)
      error_ = plx::FormatWide(L"ASCII STL file %s, line %d: %s", shown_.c_str(), line_, problem.c_str());
    failed_ = true;
    return false;
  }

  int fd_;
  size_t bufferSize_;
  std::unique_ptr<char[]> buffer_;
  const char* p_ = nullptr;
  const char* end_ = nullptr;
  bool eof_ = false;
  bool failed_ = false;
  int line_ = 1;
  const std::wstring& shown_;
  std::wstring& error_;
};

}  // namespace

bool ReadAsciiStl(int fd, const char* preamble, size_t preambleSize, uint64_t fileSize, const std::wstring& shown,
                  ON_Mesh& mesh, std::wstring& error) {
  return AsciiParser(fd, preamble, preambleSize, fileSize, shown, error).Parse(fileSize, mesh);
}

}  // namespace qmlib
