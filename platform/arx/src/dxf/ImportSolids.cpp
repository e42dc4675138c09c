// 3D solids, bodies and regions of a DXF file: their ACIS data into the record model, then
// into modeller shapes. Up to R2010 the entity holds SAT text (deciphered by the reader); from
// R2013 it holds nothing and its SAB data comes from ACDSDATA. Either form gives the same
// records, so everything after the tokenizer is shared. The entity keeps the class the file
// names, whatever the geometry would suggest.
#include <cstdio>
#include <new>

#include "Import.h"
#include "arxhost/Modeller.h"
#include "dbsol3d.h"
#include "sat/Sat.h"
#include "win32/text.h"

namespace plx::dxf {

namespace {

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

}  // namespace

std::vector<std::unique_ptr<AcDbEntity>> MakeModelers(const Entity& entity, const ModelerData& data,
                                                      std::string& reason) {
  std::vector<std::unique_ptr<AcDbEntity>> made;
  plx::sat::File file;
  if (!ReadAcis(data, file, reason)) return made;
  try {
    plx::modeller::SatReadResult read = plx::modeller::ReadSat(file);
    if (!read.Ok()) {
      reason = "its ACIS data cannot be read (" + plx::Utf8FromWide(read.reason) + ")";
      return made;
    }
    for (const plx::modeller::Shape& shape : read.bodies) {
      if (shape.IsNull()) continue;
      std::unique_ptr<AcDbModelerEntity> modeler;
      switch (entity.kind) {
        case EntityKind::kBody: modeler = std::make_unique<AcDbBody>(); break;
        case EntityKind::kRegion: modeler = std::make_unique<AcDbRegion>(); break;
        default: modeler = std::make_unique<AcDb3dSolid>(); break;
      }
      if (modeler->setBody(&shape) != Acad::eOk) {
        reason = "the drawing refused its body";
        made.clear();
        return made;
      }
      made.push_back(std::move(modeler));
    }
  } catch (const std::bad_alloc&) {
    reason = "not enough memory to build its body";
    made.clear();
    return made;
  }
  if (made.empty()) reason = "its ACIS data holds no face";
  return made;
}

std::string UnreadableText(const Entity& entity, const std::string& reason) {
  char handle[24];
  std::snprintf(handle, sizeof handle, "%llX", static_cast<unsigned long long>(entity.handle));
  return entity.type + " " + handle + ": " + reason;
}

}  // namespace plx::dxf
