// SAB into the record model. Every value is a tag byte and a little-endian payload; a record is
// its name parts (0E ... 0D) and tagged values up to 11. The header has no record structure:
// magic, four int32 and six tagged values. Offsets in messages count from the first byte.
#include "sat/Binary.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace plx::sat {

namespace {

constexpr std::size_t kMagicSize = 15;
constexpr std::string_view kMagics[] = {"ACIS BinaryFile", "ASM BinaryFile4"};

enum Tag : std::uint8_t {
  kInt32 = 0x04,
  kDouble = 0x06,
  kShortString = 0x07,
  kFalseTag = 0x0A,
  kTrueTag = 0x0B,
  kPointerTag = 0x0C,
  kLastName = 0x0D,
  kNamePart = 0x0E,
  kRecordEnd = 0x11,
  kLongString = 0x12,
  kPositionTag = 0x13,
  kVectorTag = 0x14,
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

  bool AtEnd() const { return pos_ >= data_.size(); }
  std::size_t Offset() const { return pos_; }

  [[noreturn]] void Bad(const std::string& what) const {
    throw FormatError("byte " + std::to_string(pos_) + ": " + what);
  }

  void Need(std::size_t bytes, const char* what) {
    if (data_.size() - pos_ < bytes) Bad(std::string("the data ends inside ") + what + " (cut short?)");
  }

  std::uint8_t Byte(const char* what) {
    Need(1, what);
    return data_[pos_++];
  }
  std::int32_t Int32(const char* what) {
    Need(4, what);
    const std::uint32_t v = std::uint32_t(data_[pos_]) | std::uint32_t(data_[pos_ + 1]) << 8 |
                            std::uint32_t(data_[pos_ + 2]) << 16 | std::uint32_t(data_[pos_ + 3]) << 24;
    pos_ += 4;
    return static_cast<std::int32_t>(v);
  }
  double Double(const char* what) {
    Need(8, what);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | data_[pos_ + std::size_t(i)];
    pos_ += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::string Text(std::size_t length, const char* what) {
    Need(length, what);
    std::string text(reinterpret_cast<const char*>(data_.data() + pos_), length);
    pos_ += length;
    return text;
  }
  // A string after its tag: 07 (1-byte length) or 12 (4-byte length).
  std::string String(std::uint8_t tag) {
    if (tag == kShortString) return Text(Byte("a string"), "a string");
    const std::int32_t length = Int32("a string length");
    if (length < 0) Bad("a string length is negative");
    return Text(std::size_t(length), "a string");
  }
  std::string_view Magic() {
    Need(kMagicSize, "the header");
    std::string_view magic(reinterpret_cast<const char*>(data_.data()), kMagicSize);
    pos_ += kMagicSize;
    return magic;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

// The fields of a transform written as one string ("1 0 0 ... no_shear "): the tokens its text
// form has, numbers untyped as the text tokenizer gives them.
void AppendTextTokens(std::string_view text, std::vector<Token>& tokens) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t from = i;
    while (i < text.size() && text[i] != ' ') ++i;
    if (i == from) break;
    const std::string_view raw = text.substr(from, i - from);
    Token token;
    const char* first = raw.data();
    const char* last = raw.data() + raw.size();
    if (auto [end, ec] = std::from_chars(first, last, token.integer); ec == std::errc() && end == last) {
      token.kind = Token::Kind::kNumber;
      token.isIntegral = true;
      token.real = static_cast<double>(token.integer);
    } else if (auto [rend, rec] = std::from_chars(first, last, token.real); rec == std::errc() && rend == last) {
      token.kind = Token::Kind::kNumber;
    } else {
      token.kind = Token::Kind::kWord;
      token.text = std::string(raw);
    }
    tokens.push_back(std::move(token));
  }
}

// A name made of parts: 0E parts joined by "-" up to the 0D part, the first tag already read.
std::string Name(Reader& in, std::uint8_t tag) {
  std::string name;
  while (true) {
    if (tag != kNamePart && tag != kLastName) in.Bad("a name part was expected");
    if (!name.empty()) name += '-';
    name += in.Text(in.Byte("a name"), "a name");
    if (tag == kLastName) return name;
    tag = in.Byte("a name");
  }
}

bool IsEndMarker(std::string_view name) {
  return name == "End-of-ASM-data" || name == "End-of-ACIS-data" ||
         name.substr(0, 21) == "Begin-of-ACIS-History" || name.substr(0, 19) == "End-of-ACIS-History";
}

// The values of one record up to its 11, the name already read.
void ReadFields(Reader& in, Record& record, std::size_t index) {
  while (true) {
    const std::size_t at = in.Offset();
    const std::uint8_t tag = in.Byte("a record");
    Token token;
    switch (tag) {
      case kRecordEnd: return;
      case kInt32:
        token.kind = Token::Kind::kInteger;
        token.integer = in.Int32("an integer");
        token.real = static_cast<double>(token.integer);
        break;
      case kDouble:
        token.kind = Token::Kind::kReal;
        token.real = in.Double("a real");
        break;
      case kShortString:
      case kLongString:
        token.kind = Token::Kind::kString;
        token.text = in.String(tag);
        if (record.name == "transform" && tag == kLongString) {
          AppendTextTokens(token.text, record.tokens);
          continue;
        }
        break;
      case kPointerTag:
        token.kind = Token::Kind::kPointer;
        token.integer = in.Int32("a pointer");
        break;
      case kTrueTag: token.kind = Token::Kind::kTrue; break;
      case kFalseTag: token.kind = Token::Kind::kFalse; break;
      case kPositionTag:
      case kVectorTag:
        token.kind = tag == kPositionTag ? Token::Kind::kPosition : Token::Kind::kVector;
        token.vec.x = in.Double("a position");
        token.vec.y = in.Double("a position");
        token.vec.z = in.Double("a position");
        break;
      case kNamePart:
      case kLastName:
        // A word inside a record (a sub-type such as a spline's kind).
        token.kind = Token::Kind::kWord;
        token.text = Name(in, tag);
        break;
      default: {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", tag);
        throw FormatError("byte " + std::to_string(at) + ": record " + std::to_string(index) + " (" +
                          record.name + ") holds the unknown tag " + hex);
      }
    }
    record.tokens.push_back(std::move(token));
  }
}

}  // namespace

bool LooksLikeBinary(std::span<const std::uint8_t> data) {
  if (data.size() < kMagicSize) return false;
  const std::string_view magic(reinterpret_cast<const char*>(data.data()), kMagicSize);
  for (std::string_view m : kMagics)
    if (magic == m) return true;
  return false;
}

File ParseBinary(std::span<const std::uint8_t> data) {
  if (!LooksLikeBinary(data)) throw FormatError("not SAB data: the ACIS binary header is missing");
  Reader in(data);
  in.Magic();
  File file;
  Header& h = file.header;
  h.version = in.Int32("the header");
  h.recordCount = in.Int32("the header");
  h.bodyCount = in.Int32("the header");
  h.flags = in.Int32("the header");
  if (h.version < 100 || h.version > 100000) in.Bad("unknown version " + std::to_string(h.version));
  std::string* strings[] = {&h.product, &h.acisVersion, &h.date};
  for (std::string* s : strings) {
    const std::uint8_t tag = in.Byte("the header");
    if (tag != kShortString && tag != kLongString) in.Bad("the header's strings are missing");
    *s = in.String(tag);
  }
  double* reals[] = {&h.unitsScale, &h.resabs, &h.resnor};
  for (double* r : reals) {
    if (in.Byte("the header") != kDouble) in.Bad("the header's reals are missing");
    *r = in.Double("the header");
  }
  while (!in.AtEnd()) {
    const std::uint8_t tag = in.Byte("a record");
    std::string name = Name(in, tag);
    if (IsEndMarker(name)) {
      file.sawEnd = true;
      break;
    }
    Record record;
    record.name = std::move(name);
    ReadFields(in, record, file.records.size());
    file.records.push_back(std::move(record));
  }
  if (!file.sawEnd) throw FormatError("byte " + std::to_string(in.Offset()) + ": the data ends without its end marker (cut short?)");
  return file;
}

}  // namespace plx::sat
