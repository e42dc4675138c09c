// Pieces shared by the section parser and the entity readers of the DXF reader.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "arxhost/Dxf.h"

namespace plx::dxf::detail {

// Joins message parts (and keeps GCC's -Wrestrict quiet about "literal" + temporary string).
inline std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out.append(part);
  return out;
}

std::string_view Trim(std::string_view s);
uint64_t ParseHandle(std::string_view hex);
EntityKind KindOfType(std::string_view type);

// What the entity readers need of the file being read.
struct ReadContext {
  const TextDecoder& decoder;
  bool binary = false;
  bool enciphered = false;  // ACIS text is enciphered (R13 to R2010)
  std::string error;        // set with the line when a record is damaged

  // "line N: " or "byte N: ", to open an error message.
  std::string At(size_t position) const {
    return Cat({binary ? "byte " : "line ", std::to_string(position), ": "});
  }
};

// Fills entity (its type and position set) from the groups of its record (the 0 group left
// out). False with context.error set when the record cannot be read.
bool ReadEntity(std::span<const Group> groups, Entity& entity, ReadContext& context);
// Adds a VERTEX record to a POLYLINE entity.
bool AddVertex(std::span<const Group> groups, size_t position, Entity& polyline,
               ReadContext& context);
// Checks a POLYLINE once its SEQEND came: face indices in range, mesh size as announced.
bool FinishPolyline(Entity& polyline, ReadContext& context);

}  // namespace plx::dxf::detail
