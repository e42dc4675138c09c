// Cleaning a shape: faces on one surface merged, and the edges and vertices between them
// removed, as the Booleans leave their results; then the shape is classified again.
#include <ShapeUpgrade_UnifySameDomain.hxx>
#include <TopoDS_Iterator.hxx>

#include "ShapeImpl.h"

namespace plx::modeller {

Acad::ErrorStatus Shape::Clean() {
  if (IsNull()) return Acad::eInvalidInput;
  TopoDS_Shape cleaned;
  ShapeKind kind = ShapeKind::kNull;
  const Acad::ErrorStatus status = Guarded([&] {
    ShapeUpgrade_UnifySameDomain unify(impl_->PrivateShape(), /*UnifyEdges=*/true, /*UnifyFaces=*/true,
                                       /*ConcatBSplines=*/false);
    unify.Build();
    cleaned = unify.Shape();
    // A compound of one shape is that shape.
    for (;;) {
      if (cleaned.IsNull() || cleaned.ShapeType() != TopAbs_COMPOUND) break;
      TopoDS_Iterator it(cleaned);
      if (!it.More()) break;
      const TopoDS_Shape only = it.Value();
      it.Next();
      if (it.More()) break;
      cleaned = only;
    }
    if (cleaned.IsNull()) return Acad::eGeneralModelingFailure;
    kind = ClassifyGeometry(cleaned);
    return Acad::eOk;
  });
  if (status != Acad::eOk) return Acad::eGeneralModelingFailure;
  impl_->shape = cleaned;
  impl_->kind = kind;
  return Acad::eOk;
}

}  // namespace plx::modeller
