// The SAT record model: a header and a list of records, each a name and typed tokens, as both
// forms of the ACIS file carry them. The text form (SAT) cannot tell an integer from a real or
// a position from three reals, so its tokenizer gives numbers and leaves the type to the
// reader, who knows each field's place; the binary form (SAB) gives typed tokens. Readers go
// through a Cursor, which accepts either spelling of every field.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace plx::sat {

// Unreadable data: the text names the record (its index and name) and what was wrong.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

struct Token {
  enum class Kind : std::uint8_t {
    kPointer,   // $N: integer = record index, -1 for none
    kNumber,    // a text number: real always set, integer set when isIntegral
    kInteger,   // SAB int32
    kReal,      // SAB float64
    kString,    // text
    kWord,      // an enumeration word or a bare word (forward, I, F, exppc, ...): text
    kTrue,      // SAB logical 0x0B (forward, single, out, forward_v, I, no_*)
    kFalse,     // SAB logical 0x0A (reversed, double, reverse_v, F)
    kPosition,  // SAB position: vec
    kVector,    // SAB vector: vec
    kOpen,      // {
    kClose,     // }
  };
  Kind kind = Kind::kWord;
  bool isIntegral = false;  // kNumber: written without fraction or exponent
  std::int64_t integer = 0;
  double real = 0;
  Vec3 vec;
  std::string text;
  // Text form only: where the token starts and ends in its record's source text, so that a
  // counted string of the older versions ("7 bdm_uid") can be read through spaces.
  std::uint32_t begin = 0, end = 0;
};

struct Record {
  std::string name;           // full name, parts joined by "-" ("ref_vt-eye-attrib")
  std::vector<Token> tokens;  // every token after the name, up to the closing "#"
  std::string source;         // text form: the record's text after the name; empty for SAB
  int line = 0;               // text form: line of the name (1-based); SAB: 0
};

struct Header {
  int version = 0;      // 106, 400, 700, 20800, ... as written
  int recordCount = 0;  // as written; may be 0 or wrong
  int bodyCount = 0;    // as written; counts the asmheader in 20800+ files
  int flags = 0;
  std::string product, acisVersion, date;  // empty for version 106
  double unitsScale = 1, resabs = 1e-6, resnor = 1e-10;
};

struct File {
  Header header;
  std::vector<Record> records;  // in file order; a pointer $N is records[N]
  bool sawEnd = false;          // End-of-ACIS-data (or the history section) was reached
};

// True for records that carry the modeller's history integer and the extra pointer after the
// attribute pointer in 700+ files (topology and geometry); false for attributes, transform,
// asmheader and the like, which carry the history integer alone.
bool IsEntityRecord(std::string_view name);

// Reads the fields of one record in order, skipping the prefix (attribute pointer, history
// integer, extra pointer) that the file's version adds. Every read throws FormatError naming
// the record when the field is missing or of another type.
class Cursor {
 public:
  Cursor(const File& file, std::size_t index);

  const Record& record() const { return *record_; }
  std::size_t index() const { return index_; }
  int version() const { return version_; }
  // The attribute pointer of the prefix (-1 for none).
  std::int64_t attribute() const { return attribute_; }
  bool AtEnd() const { return pos_ >= record_->tokens.size(); }
  const Token* Peek() const { return AtEnd() ? nullptr : &record_->tokens[pos_]; }

  // A pointer: -1 for none, else an index into the file's records (checked).
  std::int64_t Pointer();
  std::int64_t Integer();
  double Real();
  // A position or vector: three text numbers or one SAB position/vector token.
  Vec3 Triple();
  // A string: @N text (700+), N text (older text), or a SAB string.
  std::string String();
  // An enumeration: the index of the word in words, matched exactly; version 106 writes the
  // index as a number, SAB writes logicals (true = index 0, false = index 1).
  int Choice(std::initializer_list<std::string_view> words);
  // A parameter bound: I (none) or F value; 106 writes 0 or 1 value.
  std::optional<double> Bound();
  // A bare word (exppc, nubs, ref, ...), any text token.
  std::string Word();
  // Skips one token; a { } block counts as one token.
  void Skip(std::size_t count = 1);
  // Opens a { } block (throws unless the next token opens one) and closes one.
  void Open();
  void Close();
  bool AtClose() const;

  [[noreturn]] void Fail(const std::string& what) const;

 private:
  const Token& Next(const char* what);
  const File* file_;
  const Record* record_;
  std::size_t index_;
  std::size_t pos_ = 0;
  int version_;
  std::int64_t attribute_ = -1;
};

// Describes a record for messages: "record 12 (coedge)".
std::string Describe(const File& file, std::size_t index);

}  // namespace plx::sat
