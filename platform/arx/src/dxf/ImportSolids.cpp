// 3D solids, bodies and regions of a DXF file: their ACIS data into the record model. Up to
// R2010 the entity holds SAT text (deciphered by the reader); from R2013 it holds nothing and
// its SAB data comes from ACDSDATA. Either form gives the same records, so what follows the
// tokenizer is shared.
#include <cstdio>
#include <new>

#include "Import.h"
#include "sat/Sat.h"

namespace plx::dxf {

bool ReadAcis(const ModelerData& data, plx::sat::File& file, std::string& reason) {
  if (!data.sabDamage.empty()) {
    reason = data.sabDamage;
    return false;
  }
  try {
    if (!data.sat.empty()) {
      file = plx::sat::ParseText(data.sat);
    } else if (!data.sab.empty()) {
      file = plx::sat::ParseBinary(data.sab);
    } else {
      reason = "it holds no ACIS data";
      return false;
    }
  } catch (const plx::sat::FormatError& e) {
    reason = std::string("its ACIS data cannot be read (") + e.what() + ")";
    return false;
  } catch (const std::bad_alloc&) {
    reason = "not enough memory to read its ACIS data";
    return false;
  }
  return true;
}

std::string UnreadableText(const Entity& entity, const std::string& reason) {
  char handle[24];
  std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(entity.handle));
  return entity.type + " " + handle + ": " + reason;
}

}  // namespace plx::dxf
