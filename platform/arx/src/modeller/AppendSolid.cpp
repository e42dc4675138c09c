// The primitive commands' solids become 3D solids of model space.
#include "arxhost/Modeller.h"
#include "dbsol3d.h"
#include "../editor/Commands.h"

namespace plx::host {

Acad::ErrorStatus AppendSolid(modeller::Shape shape) {
  AcDbModelerEntity* entity = nullptr;
  switch (shape.Kind()) {
    case modeller::ShapeKind::kSolid: entity = new AcDb3dSolid; break;
    case modeller::ShapeKind::kBody: entity = new AcDbBody; break;
    case modeller::ShapeKind::kRegion: entity = new AcDbRegion; break;
    default: return Acad::eInvalidInput;
  }
  entity->setBody(&shape);
  return editor::AppendToModelSpace(entity).isNull() ? Acad::eInvalidInput : Acad::eOk;
}

}  // namespace plx::host
