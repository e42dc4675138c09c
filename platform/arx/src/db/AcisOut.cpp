// AcDbBody::acisOut: 3D solids, bodies and regions to one SAT file through the modeller. The
// list is checked whole before anything is written, so a bad element leaves no file behind.
#include <string>
#include <vector>

#include "arxhost/Modeller.h"
#include "dbsol3d.h"

Acad::ErrorStatus AcDbBody::acisOut(const ACHAR* fileName, const AcDbVoidPtrArray& entities) {
  if (!fileName || !*fileName || entities.isEmpty()) return Acad::eInvalidInput;
  std::vector<const plx::modeller::Shape*> shapes;
  shapes.reserve(entities.length());
  for (int i = 0; i < entities.length(); ++i) {
    const auto* entity = static_cast<const AcDbEntity*>(entities[i]);
    if (!entity) return Acad::eNullEntityPointer;
    const auto* modeller = AcDbModelerEntity::cast(entity);
    if (!modeller) return Acad::eWrongObjectType;
    if (modeller->isNull()) return Acad::eNotApplicable;
    shapes.push_back(static_cast<const plx::modeller::Shape*>(modeller->body()));
  }
  return plx::modeller::WriteSat(fileName, shapes);
}
