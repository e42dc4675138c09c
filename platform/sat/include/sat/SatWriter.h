// Writing ACIS SAT text, version 700: records are reserved (so that records may point forward),
// filled, and emitted in index order after a three-line header, with "End-of-ACIS-data" last.
// Topology and geometry records carry the 700 prefix "$-1 -1 $-1" (no attribute, history -1,
// no extra pointer); a transform carries "$-1 -1".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plx::sat {

// One record's text from its name up to, not including, the closing "#".
class RecordText {
 public:
  enum class Prefix { kEntity, kTransform };
  explicit RecordText(std::string_view name, Prefix prefix = Prefix::kEntity);

  RecordText& Pointer(int64_t index);  // "$N"; a negative index is written "$-1" (none)
  RecordText& Int(int64_t value);
  RecordText& Real(double value);  // shortest text that reads back to the same double
  RecordText& Triple(double x, double y, double z);
  RecordText& Word(std::string_view word);    // enumerations: forward, single, I, ...
  RecordText& String(std::string_view text);  // "@N text"
  RecordText& Raw(std::string_view text);     // already formatted tokens, such as "{"

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

class SatDocument {
 public:
  // A new record slot; its index is what pointers name.
  int64_t Reserve();
  // Fills a reserved slot (each slot exactly once).
  void Set(int64_t index, const RecordText& record);
  int64_t Add(const RecordText& record);
  // Counts bodies for the header; call once per body record added.
  void CountBody() { ++bodies_; }

  int64_t RecordCount() const { return static_cast<int64_t>(slots_.size()); }
  int64_t BodyCount() const { return bodies_; }

  // The whole file. Every reserved slot must have been filled.
  std::string Text() const;

 private:
  // Records live in one buffer in the order they were filled; slots find them by index, so a
  // large body costs its text and a few bytes a record, not an allocation a record.
  struct Slot {
    uint64_t offset = 0;
    uint32_t length = 0;
  };
  std::string buffer_;
  std::vector<Slot> slots_;
  int64_t bodies_ = 0;
};

// Formats a finite double as the shortest text that reads back exactly ("1", "-0.5", "1e-10").
std::string FormatReal(double value);

// Writes text to path (UTF-8 path on disk) under a temporary name in the same folder, renamed
// over path only when complete: on failure path keeps its old content. false with a reason in
// error when the file cannot be created, written or put in place.
bool WriteFileReplacing(const std::string& path, std::string_view text, std::string& error);

}  // namespace plx::sat
