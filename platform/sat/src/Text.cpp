// SAT text into the record model. The header is line-based; records are whitespace-separated
// tokens ended by "#" and may span lines. "@N " starts a string of exactly N characters, which
// may contain spaces or "#"; everything else is a pointer ($N), a brace, a number or a word.
#include "sat/Text.h"

#include <charconv>
#include <string>

namespace plx::sat {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\v';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool ParseInteger(std::string_view raw, std::int64_t& value) {
  if (!raw.empty() && raw.front() == '+') raw.remove_prefix(1);
  if (raw.empty()) return false;
  const auto [end, ec] = std::from_chars(raw.data(), raw.data() + raw.size(), value);
  return ec == std::errc() && end == raw.data() + raw.size();
}

bool ParseReal(std::string_view raw, double& value) {
  if (!raw.empty() && raw.front() == '+') raw.remove_prefix(1);
  if (raw.empty()) return false;
  const auto [end, ec] = std::from_chars(raw.data(), raw.data() + raw.size(), value);
  return ec == std::errc() && end == raw.data() + raw.size();
}

bool StartsNumber(char c) { return IsDigit(c) || c == '-' || c == '+' || c == '.'; }

// Splits the text into lines as the header needs them, keeping track of where each begins.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  std::size_t Position() const { return pos_ > text_.size() ? text_.size() : pos_; }
  int Number() const { return number_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int number_ = 0;
};

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsSpace(line[i])) ++i;
    const std::size_t from = i;
    while (i < line.size() && !IsSpace(line[i])) ++i;
    if (i > from) words.push_back(line.substr(from, i - from));
  }
  return words;
}

// One counted string of the second header line: "@N text" or "N text".
bool HeaderString(std::string_view line, std::size_t& i, std::string& out) {
  while (i < line.size() && line[i] == ' ') ++i;
  if (i < line.size() && line[i] == '@') ++i;
  const std::size_t from = i;
  while (i < line.size() && IsDigit(line[i])) ++i;
  std::int64_t length = 0;
  if (!ParseInteger(line.substr(from, i - from), length)) return false;
  if (length == 0) {
    out.clear();
    return true;
  }
  if (i >= line.size() || line[i] != ' ') return false;
  ++i;
  if (static_cast<std::size_t>(length) > line.size() - i) return false;
  out = std::string(line.substr(i, static_cast<std::size_t>(length)));
  i += static_cast<std::size_t>(length);
  return true;
}

void ReadHeader(LineReader& lines, Header& header) {
  std::string_view line;
  if (!lines.Next(line)) throw FormatError("the file is empty");
  const auto first = Words(line);
  std::int64_t numbers[4] = {0, 0, 0, 0};
  if (first.size() < 3 || first.size() > 4)
    throw FormatError("not a SAT file: the first line is not a SAT header");
  for (std::size_t k = 0; k < first.size(); ++k)
    if (!ParseInteger(first[k], numbers[k]) || numbers[k] < -1000000000 || numbers[k] > 1000000000)
      throw FormatError("not a SAT file: the first line is not a SAT header");
  if (numbers[0] < 100 || numbers[0] > 100000)
    throw FormatError("not a SAT file: unknown version " + std::to_string(numbers[0]));
  header.version = static_cast<int>(numbers[0]);
  header.recordCount = static_cast<int>(numbers[1]);
  header.bodyCount = static_cast<int>(numbers[2]);
  header.flags = static_cast<int>(numbers[3]);
  if (header.version < 200) return;

  if (!lines.Next(line)) throw FormatError("the header ends after its first line");
  std::size_t i = 0;
  if (!HeaderString(line, i, header.product) || !HeaderString(line, i, header.acisVersion) ||
      !HeaderString(line, i, header.date))
    throw FormatError("header line 2 does not hold the product, version and date strings");

  if (!lines.Next(line)) throw FormatError("the header ends after its second line");
  const auto third = Words(line);
  double reals[3];
  if (third.size() != 3) throw FormatError("header line 3 does not hold three numbers");
  for (std::size_t k = 0; k < 3; ++k)
    if (!ParseReal(third[k], reals[k]))
      throw FormatError("header line 3 does not hold three numbers");
  header.unitsScale = reals[0];
  header.resabs = reals[1];
  header.resnor = reals[2];
}

class RecordScanner {
 public:
  RecordScanner(std::string_view text, std::size_t pos, int line)
      : text_(text), pos_(pos), line_(line) {}

  // Reads the next record into record; false at the end of the data (sawEnd tells which).
  bool Next(Record& record, std::size_t index, bool& sawEnd) {
    SkipSpace();
    if (pos_ >= text_.size()) return false;
    const std::string_view name = RawToken();
    if (name == "End-of-ACIS-data" || name.substr(0, 21) == "Begin-of-ACIS-History" ||
        name.substr(0, 19) == "End-of-ACIS-History") {
      sawEnd = true;
      return false;
    }
    record.name = std::string(name);
    record.line = nameLine_;
    record.tokens.clear();
    const std::size_t sourceBegin = pos_;
    for (;;) {
      SkipSpace();
      if (pos_ >= text_.size())
        throw FormatError("record " + std::to_string(index) + " (" + record.name + ") on line " +
                          std::to_string(record.line) + " is not ended by \"#\"");
      if (text_[pos_] == '#') {
        record.source = std::string(text_.substr(sourceBegin, pos_ - sourceBegin));
        ++pos_;
        return true;
      }
      Token token;
      token.begin = static_cast<std::uint32_t>(pos_ - sourceBegin);
      if (text_[pos_] == '@' && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1]))
        CountedString(token, record, index);
      else
        Classify(RawToken(), token, record, index);
      token.end = static_cast<std::uint32_t>(pos_ - sourceBegin);
      record.tokens.push_back(std::move(token));
    }
  }

 private:
  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  std::string_view RawToken() {
    nameLine_ = line_;
    const std::size_t from = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    return text_.substr(from, pos_ - from);
  }

  [[noreturn]] void Bad(const Record& record, std::size_t index, const std::string& what) const {
    throw FormatError("record " + std::to_string(index) + " (" + record.name + ") on line " +
                      std::to_string(line_) + ": " + what);
  }

  void CountedString(Token& token, const Record& record, std::size_t index) {
    ++pos_;
    const std::size_t from = pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    std::int64_t length = 0;
    if (!ParseInteger(text_.substr(from, pos_ - from), length))
      Bad(record, index, "a string length cannot be read");
    if (length > 0) {
      if (pos_ >= text_.size() || text_[pos_] != ' ')
        Bad(record, index, "a string length is not followed by a space");
      ++pos_;
    }
    if (static_cast<std::uint64_t>(length) > text_.size() - pos_)
      Bad(record, index, "a string runs past the end of the data");
    token.kind = Token::Kind::kString;
    token.text = std::string(text_.substr(pos_, static_cast<std::size_t>(length)));
    for (char c : token.text)
      if (c == '\n') ++line_;
    pos_ += static_cast<std::size_t>(length);
  }

  void Classify(std::string_view raw, Token& token, const Record& record, std::size_t index) {
    if (raw.front() == '$') {
      token.kind = Token::Kind::kPointer;
      if (!ParseInteger(raw.substr(1), token.integer))
        Bad(record, index, "\"" + std::string(raw) + "\" is not a pointer");
      return;
    }
    if (raw == "{") {
      token.kind = Token::Kind::kOpen;
      return;
    }
    if (raw == "}") {
      token.kind = Token::Kind::kClose;
      return;
    }
    if (StartsNumber(raw.front())) {
      if (ParseInteger(raw, token.integer)) {
        token.kind = Token::Kind::kNumber;
        token.isIntegral = true;
        token.real = static_cast<double>(token.integer);
        return;
      }
      if (ParseReal(raw, token.real)) {
        token.kind = Token::Kind::kNumber;
        return;
      }
    }
    token.kind = Token::Kind::kWord;
    token.text = std::string(raw);
  }

  std::string_view text_;
  std::size_t pos_;
  int line_;
  int nameLine_ = 0;
};

}  // namespace

bool LooksLikeText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  return i < text.size() && IsDigit(text[i]);
}

File ParseText(std::string_view text) {
  File file;
  if (text.size() > 0xFFFFFFF0u) throw FormatError("the file is too large");
  LineReader lines(text);
  ReadHeader(lines, file.header);
  RecordScanner scanner(text, lines.Position(), lines.Number() + 1);
  for (;;) {
    Record record;
    if (!scanner.Next(record, file.records.size(), file.sawEnd)) break;
    file.records.push_back(std::move(record));
  }
  return file;
}

}  // namespace plx::sat
