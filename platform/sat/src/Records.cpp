// The record model's cursor: positional reads of a record's fields that accept the text form's
// untyped numbers and words as well as the binary form's typed tokens, and the prefix each
// version puts before the fields.
#include "sat/Records.h"

#include <cmath>

namespace plx::sat {

namespace {

// The last part of a name says what a record is ("ref_vt-eye-attrib" is an attribute).
std::string_view LastPart(std::string_view name) {
  const auto dash = name.rfind('-');
  return dash == std::string_view::npos ? name : name.substr(dash + 1);
}

const char* KindName(Token::Kind kind) {
  switch (kind) {
    case Token::Kind::kPointer: return "a pointer";
    case Token::Kind::kNumber:
    case Token::Kind::kInteger:
    case Token::Kind::kReal: return "a number";
    case Token::Kind::kString: return "a string";
    case Token::Kind::kWord: return "a word";
    case Token::Kind::kTrue:
    case Token::Kind::kFalse: return "a logical";
    case Token::Kind::kPosition:
    case Token::Kind::kVector: return "a position";
    case Token::Kind::kOpen: return "\"{\"";
    case Token::Kind::kClose: return "\"}\"";
  }
  return "a token";
}

}  // namespace

bool IsEntityRecord(std::string_view name) {
  const std::string_view last = LastPart(name);
  for (std::string_view kind : {"body", "lump", "shell", "subshell", "face", "loop", "coedge",
                                "edge", "vertex", "point", "wire", "surface", "curve", "pcurve"})
    if (last == kind) return true;
  return false;
}

std::string Describe(const File& file, std::size_t index) {
  std::string text = "record " + std::to_string(index);
  if (index < file.records.size()) text += " (" + file.records[index].name + ")";
  return text;
}

Cursor::Cursor(const File& file, std::size_t index)
    : file_(&file), record_(&file.records.at(index)), index_(index), version_(file.header.version) {
  attribute_ = Pointer();
  if (version_ >= 700) {
    Integer();  // history
    if (IsEntityRecord(record_->name)) Pointer();
  }
}

void Cursor::Fail(const std::string& what) const {
  std::string text = Describe(*file_, index_);
  if (record_->line > 0) text += " on line " + std::to_string(record_->line);
  throw FormatError(text + ": " + what);
}

const Token& Cursor::Next(const char* what) {
  if (AtEnd()) Fail(std::string("ends where ") + what + " was expected");
  return record_->tokens[pos_++];
}

std::int64_t Cursor::Pointer() {
  const Token& t = Next("a pointer");
  if (t.kind != Token::Kind::kPointer)
    Fail(std::string("a pointer was expected, not ") + KindName(t.kind));
  if (t.integer < -1 || t.integer >= static_cast<std::int64_t>(file_->records.size()))
    Fail("pointer $" + std::to_string(t.integer) + " names no record");
  return t.integer;
}

std::int64_t Cursor::Integer() {
  const Token& t = Next("an integer");
  if (t.kind == Token::Kind::kInteger || (t.kind == Token::Kind::kNumber && t.isIntegral))
    return t.integer;
  Fail(std::string("an integer was expected, not ") + KindName(t.kind));
}

double Cursor::Real() {
  const Token& t = Next("a number");
  double value = 0;
  if (t.kind == Token::Kind::kNumber || t.kind == Token::Kind::kReal)
    value = t.real;
  else if (t.kind == Token::Kind::kInteger)
    value = static_cast<double>(t.integer);
  else
    Fail(std::string("a number was expected, not ") + KindName(t.kind));
  if (!std::isfinite(value)) Fail("a number is not finite");
  return value;
}

Vec3 Cursor::Triple() {
  const Token* t = Peek();
  if (t && (t->kind == Token::Kind::kPosition || t->kind == Token::Kind::kVector)) {
    ++pos_;
    if (!std::isfinite(t->vec.x) || !std::isfinite(t->vec.y) || !std::isfinite(t->vec.z))
      Fail("a position is not finite");
    return t->vec;
  }
  Vec3 v;
  v.x = Real();
  v.y = Real();
  v.z = Real();
  return v;
}

std::string Cursor::String() {
  const Token& t = Next("a string");
  if (t.kind == Token::Kind::kString) return t.text;
  // Before 700 a string is its length, one space and the text, which may hold spaces: read it
  // from the record's source and step over the tokens it covers.
  if (t.kind == Token::Kind::kNumber && t.isIntegral && t.integer >= 0 &&
      !record_->source.empty()) {
    const std::size_t from = std::size_t(t.end) + 1;
    if (from + std::size_t(t.integer) > record_->source.size())
      Fail("a string runs past the end of the record");
    const std::size_t to = from + std::size_t(t.integer);
    while (!AtEnd() && record_->tokens[pos_].begin < to) ++pos_;
    return record_->source.substr(from, to - from);
  }
  Fail(std::string("a string was expected, not ") + KindName(t.kind));
}

int Cursor::Choice(std::initializer_list<std::string_view> words) {
  const Token& t = Next("a keyword");
  if (t.kind == Token::Kind::kWord) {
    int i = 0;
    for (std::string_view word : words) {
      if (t.text == word) return i;
      ++i;
    }
    std::string list;
    for (std::string_view word : words) list += (list.empty() ? "" : " or ") + std::string(word);
    Fail("\"" + t.text + "\" is not " + list);
  }
  if (t.kind == Token::Kind::kTrue) return 0;
  if (t.kind == Token::Kind::kFalse && words.size() >= 2) return 1;
  if ((t.kind == Token::Kind::kNumber && t.isIntegral) || t.kind == Token::Kind::kInteger) {
    if (t.integer >= 0 && t.integer < static_cast<std::int64_t>(words.size()))
      return static_cast<int>(t.integer);
    Fail("keyword number " + std::to_string(t.integer) + " is out of range");
  }
  Fail(std::string("a keyword was expected, not ") + KindName(t.kind));
}

std::optional<double> Cursor::Bound() {
  if (Choice({"I", "F"}) == 0) return std::nullopt;
  return Real();
}

std::string Cursor::Word() {
  const Token& t = Next("a word");
  if (t.kind == Token::Kind::kWord || t.kind == Token::Kind::kString) return t.text;
  Fail(std::string("a word was expected, not ") + KindName(t.kind));
}

void Cursor::Skip(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const Token& t = Next("a field");
    if (t.kind == Token::Kind::kClose) Fail("\"}\" without \"{\"");
    if (t.kind != Token::Kind::kOpen) continue;
    int depth = 1;
    while (depth > 0) {
      const Token& inner = Next("\"}\"");
      if (inner.kind == Token::Kind::kOpen) ++depth;
      if (inner.kind == Token::Kind::kClose) --depth;
    }
  }
}

void Cursor::Open() {
  const Token& t = Next("\"{\"");
  if (t.kind != Token::Kind::kOpen)
    Fail(std::string("\"{\" was expected, not ") + KindName(t.kind));
}

void Cursor::Close() {
  const Token& t = Next("\"}\"");
  if (t.kind != Token::Kind::kClose)
    Fail(std::string("\"}\" was expected, not ") + KindName(t.kind));
}

bool Cursor::AtClose() const {
  const Token* t = Peek();
  return t && t->kind == Token::Kind::kClose;
}

}  // namespace plx::sat
