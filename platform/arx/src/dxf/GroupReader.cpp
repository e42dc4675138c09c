// Group-code reader for ASCII and binary DXF.
//
// ASCII: pairs of lines, a group code and its value. Lines end at LF; any CR before it is
// dropped (files travel between systems and get CR CR LF). Codes may be padded with blanks on
// both sides, numbers too; string values keep their blanks.
// Binary: the 22-byte sentinel, then groups of a little-endian code (one byte with 255 as the
// escape to two bytes in R12, two bytes from R13) and a value whose size follows from the code:
// strings NUL-ended, doubles 8 bytes, int16 2, int32 4, int64 8, bool 1, binary chunks a length
// byte and that many bytes.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "ParserParts.h"

namespace plx::dxf {

namespace {

constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

std::string Shown(std::string_view s) {
  std::string out;
  for (char c : s.substr(0, 40)) out += (static_cast<unsigned char>(c) < 32) ? '?' : c;
  if (s.size() > 40) out += "...";
  return out;
}

// The digits of a plain decimal ("-12.375") from p: a sign, digits and, where point allows, one
// point after a digit. Scanning stops at the first other character or past 18 digits, where the
// digits no longer fit the integer.
struct PlainDigits {
  bool negative = false;
  uint64_t digits = 0;
  int count = 0;      // digits read
  int fraction = -1;  // digits after the point; -1 without one
  const char* stop = nullptr;
};

PlainDigits ScanPlainDigits(const char* p, const char* end, bool point) {
  PlainDigits d;
  d.negative = p != end && *p == '-';
  if (d.negative) ++p;
  for (; p != end; ++p) {
    const unsigned digit = static_cast<unsigned char>(*p) - '0';
    if (digit <= 9) {
      if (++d.count > 18) break;
      d.digits = d.digits * 10 + digit;
      if (d.fraction >= 0) ++d.fraction;
    } else if (*p == '.' && point && d.fraction < 0 && d.count > 0) {
      d.fraction = 0;
    } else {
      break;
    }
  }
  d.stop = p;
  return d;
}

// Up to 15 digits: the digits as an integer divided by a power of ten are both exact doubles,
// so the one division rounds as the full conversion would.
double PlainValue(const PlainDigits& d) {
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  double magnitude = static_cast<double>(d.digits);
  if (d.fraction > 0) magnitude /= kPowers[d.fraction];
  return d.negative ? -magnitude : magnitude;
}

// Plain decimals of up to 15 digits, which is what writers put in nearly every group; anything
// else is left to from_chars.
bool ParsePlainDecimal(std::string_view s, double& value) {
  const char* end = s.data() + s.size();
  const PlainDigits d = ScanPlainDigits(s.data(), end, true);
  if (d.stop != end || d.count == 0 || d.count > 15 || d.fraction == 0) return false;
  value = PlainValue(d);
  return true;
}

bool ParseDouble(std::string_view s, double& value) {
  if (ParsePlainDecimal(s, value)) return true;
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(value);
}

bool ParseInteger(std::string_view s, int64_t& value) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec == std::errc() && end == s.data() + s.size()) return true;
  // Some writers put "1.0" into integer groups.
  double real = 0;
  if (!ParseDouble(s, real) || std::fabs(real) > 9.2e18) return false;
  value = static_cast<int64_t>(real);
  return true;
}

// A group code: blanks around at most nine digits (no overflow), perhaps a minus.
bool ParseCode(std::string_view line, int& code) {
  size_t i = 0, n = line.size();
  while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
  while (n > i && (line[n - 1] == ' ' || line[n - 1] == '\t' || line[n - 1] == '\r')) --n;
  const bool negative = i < n && line[i] == '-';
  if (negative) ++i;
  if (i == n || n - i > 9) return false;
  int value = 0;
  for (; i < n; ++i) {
    const unsigned d = static_cast<unsigned char>(line[i]) - '0';
    if (d > 9) return false;
    value = value * 10 + static_cast<int>(d);
  }
  code = negative ? -value : value;
  return true;
}

// The first LF from p on, or end. Lines of a DXF file are mostly a few bytes long, where a
// call of memchr costs more than looking at eight bytes at a time (the lowest byte whose
// difference borrows is the first LF); long lines (ACIS text, long strings) go to memchr.
const char* FindLineEnd(const char* p, const char* end) {
  constexpr uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
  constexpr uint64_t kLfs = kOnes * '\n';
  if constexpr (std::endian::native == std::endian::little) {
    for (int words = 0; words < 4 && end - p >= 8; ++words, p += 8) {
      uint64_t word;
      std::memcpy(&word, p, 8);
      word ^= kLfs;
      if (const uint64_t hits = (word - kOnes) & ~word & kHighs)
        return p + (std::countr_zero(hits) >> 3);
    }
  }
  const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
  return lf ? static_cast<const char*>(lf) : end;
}

// A code as writers put it, right-aligned in three columns ("  0", " 10", "330").
bool ThreeColumnCode(const char* p, int& code) {
  int value = 0;
  bool digit = false;
  for (int i = 0; i < 3; ++i) {
    const unsigned d = static_cast<unsigned char>(p[i]) - '0';
    if (d <= 9) {
      value = value * 10 + static_cast<int>(d);
      digit = true;
    } else if (p[i] != ' ' || digit) {
      return false;
    }
  }
  code = value;
  return digit;
}

// A number line in the form nearly every writer uses: blanks, a plain decimal of up to 15
// digits (an integer of up to 18 digits), blanks, CRs, then LF or the end. Converted as
// ParseDouble and ParseInteger would (group.text, group.real or group.integer set); the end of
// the line is returned. Null for any other form, with nothing set that the caller keeps.
const char* ScanNumber(const char* p, const char* end, bool real, Group& group) {
  while (p != end && (*p == ' ' || *p == '\t')) ++p;
  const char* const start = p;
  const PlainDigits d = ScanPlainDigits(p, end, real);
  if (d.count > 18) return nullptr;
  p = d.stop;
  while (p != end && (*p == ' ' || *p == '\t' || *p == '\r')) ++p;
  if ((p != end && *p != '\n') || d.count == 0 || d.fraction == 0) return nullptr;
  if (real) {
    if (d.count > 15) return nullptr;
    group.real = PlainValue(d);
  } else {
    group.integer = d.negative ? -static_cast<int64_t>(d.digits) : static_cast<int64_t>(d.digits);
  }
  group.text = std::string_view(start, static_cast<size_t>(d.stop - start));
  return p;
}

template <typename T>
T Load(const char* p) {
  T value;
  std::memcpy(&value, p, sizeof(T));
  return value;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

namespace {

constexpr ValueKind KindByRange(int code) {
  if (code < 0) return ValueKind::kString;
  if (code <= 9) return ValueKind::kString;
  if (code <= 59) return ValueKind::kDouble;
  if (code <= 79) return ValueKind::kInt16;
  if (code <= 89) return ValueKind::kString;
  if (code <= 99) return ValueKind::kInt32;
  if (code <= 109) return ValueKind::kString;
  if (code <= 149) return ValueKind::kDouble;
  if (code <= 159) return ValueKind::kString;
  if (code <= 169) return ValueKind::kInt64;
  if (code <= 179) return ValueKind::kInt16;
  if (code <= 209) return ValueKind::kString;
  if (code <= 239) return ValueKind::kDouble;
  if (code <= 269) return ValueKind::kString;
  if (code <= 289) return ValueKind::kInt16;
  if (code <= 299) return ValueKind::kBool;
  if (code <= 309) return ValueKind::kString;
  if (code <= 319) return ValueKind::kBinary;
  if (code <= 369) return ValueKind::kString;
  if (code <= 389) return ValueKind::kInt16;
  if (code <= 399) return ValueKind::kString;
  if (code <= 409) return ValueKind::kInt16;
  if (code <= 419) return ValueKind::kString;
  if (code <= 429) return ValueKind::kInt32;
  if (code <= 439) return ValueKind::kString;
  if (code <= 459) return ValueKind::kInt32;
  if (code <= 469) return ValueKind::kDouble;
  if (code <= 1003) return ValueKind::kString;
  if (code == 1004) return ValueKind::kBinary;
  if (code <= 1009) return ValueKind::kString;
  if (code <= 1059) return ValueKind::kDouble;
  if (code <= 1070) return ValueKind::kInt16;
  if (code == 1071) return ValueKind::kInt32;
  return ValueKind::kString;
}

// Every code up to the last range, looked up rather than searched once per group.
constexpr int kTabledCodes = 1072;
struct KindTable {
  ValueKind kinds[kTabledCodes];
  constexpr KindTable() : kinds() {
    for (int code = 0; code < kTabledCodes; ++code) kinds[code] = KindByRange(code);
  }
};
constexpr KindTable kKinds;

}  // namespace

ValueKind KindOfCode(int code) {
  return code >= 0 && code < kTabledCodes ? kKinds.kinds[code] : KindByRange(code);
}

GroupReader::GroupReader(std::string_view data) : data_(data) {
  if (data_.size() >= kBinarySentinel.size() &&
      data_.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
    binary_ = true;
    offset_ = kBinarySentinel.size();
    // The first group is 0 SECTION: in R12 its code is one byte, so 'S' follows at once.
    shortCodes_ = data_.size() > offset_ + 1 && data_[offset_ + 1] != 0;
  }
}

bool GroupReader::Fail(size_t position, const std::string& what) {
  error_ = detail::Cat({binary_ ? "byte " : "line ", std::to_string(position), ": ", what});
  last_.position = position;
  done_ = true;
  return false;
}

std::string GroupReader::Where() const {
  return detail::Cat({binary_ ? "byte " : "line ", std::to_string(last_.position)});
}

void GroupReader::Unread() { unread_ = true; }

bool GroupReader::Next(Group& group) {
  if (unread_) {
    unread_ = false;
    group = last_;
    return true;
  }
  if (done_) return false;
  // Read into last_ and copied out once; after a failure only its position (Where) counts.
  if (!(binary_ ? NextBinary(last_) : NextAscii(last_))) {
    done_ = true;
    return false;
  }
  group = last_;
  return true;
}

bool GroupReader::ReadLine(std::string_view& line) {
  if (offset_ >= data_.size()) return false;
  const char* begin = data_.data() + offset_;
  const void* nl = std::memchr(begin, '\n', data_.size() - offset_);
  size_t length = nl ? static_cast<const char*>(nl) - begin : data_.size() - offset_;
  offset_ += length + (nl ? 1 : 0);
  ++line_;
  while (length > 0 && begin[length - 1] == '\r') --length;
  line = std::string_view(begin, length);
  return true;
}

// The common case in one sweep: a code line of blanks and at most nine digits, and a value
// that converts. Anything else (a damaged group, the end of the data) goes the checked way,
// which reads the same group again and says what is wrong with it.
bool GroupReader::NextAscii(Group& group) {
  const char* const begin = data_.data();
  const char* const end = begin + data_.size();
  const char* p = begin + offset_;
  int code = 0;
  if (end - p > 4 && p[3] == '\n' && ThreeColumnCode(p, code)) {
    p += 4;
  } else {
    while (p != end && (*p == ' ' || *p == '\t')) ++p;
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    const char* const digits = p;
    for (unsigned d;
         p != end && p - digits < 9 && (d = static_cast<unsigned char>(*p) - '0') <= 9; ++p)
      code = code * 10 + static_cast<int>(d);
    if (p == digits) return NextAsciiChecked(group);
    while (p != end && (*p == ' ' || *p == '\t' || *p == '\r')) ++p;
    if (p == end || *p != '\n' || ++p == end) return NextAsciiChecked(group);
    if (negative) code = -code;
  }

  const ValueKind kind = KindOfCode(code);
  group.real = 0;
  group.integer = 0;
  // A number of the usual form is converted while its line end is looked for.
  const char* lineEnd = kind == ValueKind::kString || kind == ValueKind::kBinary
                            ? nullptr
                            : ScanNumber(p, end, kind == ValueKind::kDouble, group);
  if (lineEnd) {
    group.code = code;
    group.kind = kind;
    if (kind != ValueKind::kDouble && kind != ValueKind::kInt64)
      group.integer = std::clamp<int64_t>(group.integer, INT32_MIN, UINT32_MAX);
    group.position = line_ + 1;
    line_ += 2;
    offset_ = lineEnd == end ? data_.size() : static_cast<size_t>(lineEnd + 1 - begin);
    return true;
  }
  lineEnd = FindLineEnd(p, end);
  const char* valueEnd = lineEnd;
  while (valueEnd != p && valueEnd[-1] == '\r') --valueEnd;
  const std::string_view value(p, static_cast<size_t>(valueEnd - p));
  switch (kind) {
    case ValueKind::kString: group.text = value; break;
    case ValueKind::kBinary: group.text = Trim(value); break;
    case ValueKind::kDouble:
      group.text = Trim(value);
      if (!ParseDouble(group.text, group.real)) return NextAsciiChecked(group);
      break;
    default:
      group.text = Trim(value);
      if (!ParseInteger(group.text, group.integer)) return NextAsciiChecked(group);
      if (kind != ValueKind::kInt64)
        group.integer = std::clamp<int64_t>(group.integer, INT32_MIN, UINT32_MAX);
      break;
  }
  group.code = code;
  group.kind = kind;
  group.position = line_ + 1;
  line_ += 2;
  offset_ = lineEnd == end ? data_.size() : static_cast<size_t>(lineEnd + 1 - begin);
  return true;
}

bool GroupReader::NextAsciiChecked(Group& group) {
  std::string_view codeLine;
  if (!ReadLine(codeLine)) return false;
  size_t codeLineNo = line_;
  int code = 0;
  if (!ParseCode(codeLine, code))
    return Fail(codeLineNo, detail::Cat({"'", Shown(codeLine), "' is not a group code"}));
  std::string_view value;
  if (!ReadLine(value))
    return Fail(codeLineNo, detail::Cat({"group code ", std::to_string(code),
                                         " has no value (the file ends)"}));
  group.code = code;
  group.kind = KindOfCode(code);
  group.position = codeLineNo;
  group.real = 0;
  group.integer = 0;
  switch (group.kind) {
    case ValueKind::kString: group.text = value; break;
    case ValueKind::kBinary: group.text = Trim(value); break;
    case ValueKind::kDouble:
      group.text = Trim(value);
      if (!ParseDouble(group.text, group.real))
        return Fail(line_, detail::Cat({"'", Shown(value), "' is not a finite number (group ",
                                        std::to_string(code), ")"}));
      break;
    default:
      group.text = Trim(value);
      if (!ParseInteger(group.text, group.integer))
        return Fail(line_, detail::Cat({"'", Shown(value), "' is not an integer (group ",
                                        std::to_string(code), ")"}));
      // Text may hold any number; the binary form could not hold more than 32 bits here.
      if (group.kind != ValueKind::kInt64)
        group.integer = std::clamp<int64_t>(group.integer, INT32_MIN, UINT32_MAX);
      break;
  }
  return true;
}

bool GroupReader::NextBinary(Group& group) {
  size_t size = data_.size();
  if (offset_ >= size) return false;
  size_t start = offset_;
  const char* p = data_.data();
  int code = 0;
  if (shortCodes_) {
    code = static_cast<unsigned char>(p[offset_++]);
    if (code == 255) {
      if (size - offset_ < 2) return Fail(start, "the file ends inside a group code");
      code = Load<int16_t>(p + offset_);
      offset_ += 2;
    }
  } else {
    if (size - offset_ < 2) return Fail(start, "the file ends inside a group code");
    code = Load<int16_t>(p + offset_);
    offset_ += 2;
  }
  group.code = code;
  group.kind = KindOfCode(code);
  group.position = start;
  group.real = 0;
  group.integer = 0;
  group.text = {};
  size_t left = size - offset_;
  auto need = [&](size_t n) {
    if (left >= n) return true;
    Fail(start, detail::Cat({"the file ends inside the value of group ", std::to_string(code)}));
    return false;
  };
  switch (group.kind) {
    case ValueKind::kString: {
      const void* nul = std::memchr(p + offset_, '\0', left);
      if (!nul)
        return Fail(start,
                    detail::Cat({"the string of group ", std::to_string(code), " is not ended"}));
      size_t length = static_cast<const char*>(nul) - (p + offset_);
      group.text = std::string_view(p + offset_, length);
      offset_ += length + 1;
      break;
    }
    case ValueKind::kDouble:
      if (!need(8)) return false;
      group.real = Load<double>(p + offset_);
      offset_ += 8;
      if (!std::isfinite(group.real))
        return Fail(start, detail::Cat({"group ", std::to_string(code),
                                        " holds a number that is not finite"}));
      break;
    case ValueKind::kInt16:
      if (!need(2)) return false;
      group.integer = Load<int16_t>(p + offset_);
      offset_ += 2;
      break;
    case ValueKind::kInt32:
      if (!need(4)) return false;
      group.integer = Load<int32_t>(p + offset_);
      offset_ += 4;
      break;
    case ValueKind::kInt64:
      if (!need(8)) return false;
      group.integer = Load<int64_t>(p + offset_);
      offset_ += 8;
      break;
    case ValueKind::kBool:
      if (!need(1)) return false;
      group.integer = static_cast<unsigned char>(p[offset_]);
      offset_ += 1;
      break;
    case ValueKind::kBinary: {
      if (!need(1)) return false;
      size_t length = static_cast<unsigned char>(p[offset_]);
      ++offset_;
      --left;
      if (!need(length)) return false;
      group.text = std::string_view(p + offset_, length);
      offset_ += length;
      break;
    }
  }
  return true;
}

bool AppendBinaryChunk(const Group& group, bool binaryFile, std::vector<uint8_t>& out) {
  if (binaryFile) {
    out.insert(out.end(), group.text.begin(), group.text.end());
    return true;
  }
  std::string_view hex = group.text;
  if (hex.size() % 2 != 0) return false;
  size_t first = out.size();
  out.reserve(first + hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) {
      out.resize(first);
      return false;
    }
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return true;
}

}  // namespace plx::dxf
