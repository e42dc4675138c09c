// The modeller's own copy of a moved shape against OCCT's BRepBuilderAPI_Transform (copy): the
// same shape to the last bit (OCCT's text dump: geometry, tolerances, ranges, flags,
// orientations, locations and which geometry is shared) and the same meshes, for primitives,
// solids read from the corpus and the shapes it leaves to OCCT.
#include <BRepAlgoAPI_Fuse.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCone.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRepPrimAPI_MakeTorus.hxx>
#include <BRepPrimAPI_MakeWedge.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <gp_Ax1.hxx>
#include <gp_Ax2.hxx>
#include <gp_Trsf.hxx>

#include <sstream>
#include <string>
#include <vector>

#include "ModellerTestSupport.h"
#include "ShapeImpl.h"
#include "arx.h"
#include "arxhost/DxfImport.h"
#include "dbsol3d.h"

namespace plx::modeller {
namespace {

std::string Dump(const TopoDS_Shape& shape) {
  std::ostringstream out;
  BRepTools::Write(shape, out);
  return out.str();
}

// Every node and triangle of every face, as raw bytes.
std::string MeshBytes(const TopoDS_Shape& shape, double deflection) {
  BRepTools::Clean(shape);
  BRepMesh_IncrementalMesh mesher(shape, deflection, false, 0.5, false);
  std::string bytes;
  for (TopExp_Explorer e(shape, TopAbs_FACE); e.More(); e.Next()) {
    TopLoc_Location location;
    const Handle(Poly_Triangulation) mesh = BRep_Tool::Triangulation(TopoDS::Face(e.Current()), location);
    if (mesh.IsNull()) {
      bytes += "no mesh";
      continue;
    }
    for (int i = 1; i <= mesh->NbNodes(); ++i) {
      const gp_Pnt p = mesh->Node(i).Transformed(location.Transformation());
      const double xyz[3] = {p.X(), p.Y(), p.Z()};
      bytes.append(reinterpret_cast<const char*>(xyz), sizeof xyz);
    }
    for (int i = 1; i <= mesh->NbTriangles(); ++i) {
      int n[3];
      mesh->Triangle(i).Get(n[0], n[1], n[2]);
      bytes.append(reinterpret_cast<const char*>(n), sizeof n);
    }
  }
  return bytes;
}

struct Move {
  const char* name;
  gp_Trsf trsf;
};

std::vector<Move> Moves() {
  std::vector<Move> moves;
  const double shifts[][3] = {{20, 15, 10}, {0.1, 0.2, 0.3}, {1e5 + 0.37, -3.3, 7.77}, {-1234.5678, 0, 1e-3}};
  for (const auto& s : shifts) {
    gp_Trsf trsf;
    trsf.SetTranslation(gp_Vec(s[0], s[1], s[2]));
    moves.push_back({"translation", trsf});
  }
  gp_Trsf trsf;
  trsf.SetRotation(gp_Ax1(gp_Pnt(1, 2, 3), gp_Dir(1, 1, 1)), 0.7);
  moves.push_back({"rotation", trsf});
  trsf.SetMirror(gp_Ax2(gp_Pnt(1, 2, 3), gp_Dir(0, 0.6, 0.8)));
  moves.push_back({"mirror", trsf});
  trsf.SetScale(gp_Pnt(1, 2, 3), 2.5);
  moves.push_back({"scale", trsf});
  trsf.SetValues(0, -1, 0, 3, 1, 0, 0, 4, 0, 0, 1, 5);
  moves.push_back({"quarter turn and shift", trsf});
  return moves;
}

void ExpectAsOcctMakesIt(const TopoDS_Shape& shape) {
  for (const Move& move : Moves()) {
    SCOPED_TRACE(move.name);
    const TopoDS_Shape expected = BRepBuilderAPI_Transform(shape, move.trsf, /*copy=*/true).Shape();
    const TopoDS_Shape moved = MovedCopy(shape, move.trsf);
    ASSERT_FALSE(moved.IsNull());
    ASSERT_EQ(Dump(moved), Dump(expected));
    for (double deflection : {0.5, 0.1}) EXPECT_EQ(MeshBytes(moved, deflection), MeshBytes(expected, deflection));
  }
}

TEST(MovedCopy, PrimitivesComeOutAsOcctTransformMakesThem) {
  const gp_Ax2 base(gp_Pnt(0, 0, -20), gp::DZ());
  gp_Trsf placed;
  placed.SetTranslation(gp_Vec(1, 2, 3));
  const TopoDS_Shape shapes[] = {
      BRepPrimAPI_MakeBox(gp_Pnt(-20, -15, -10), gp_Pnt(20, 15, 10)).Shape(),
      BRepPrimAPI_MakeSphere(gp_Pnt(0, 0, 0), 25).Shape(),
      BRepPrimAPI_MakeCylinder(base, 15, 40).Shape(),
      BRepPrimAPI_MakeCone(base, 15, 0, 40).Shape(),
      BRepPrimAPI_MakeTorus(gp_Ax2(gp_Pnt(0, 0, 0), gp::DZ()), 30, 8).Shape(),
      BRepPrimAPI_MakeWedge(40, 20, 30, 0).Shape(),
      BRepPrimAPI_MakeSphere(gp_Pnt(0, 0, 0), 25).Shape().Moved(TopLoc_Location(placed)),
      BRepAlgoAPI_Fuse(BRepPrimAPI_MakeBox(10, 10, 10).Shape(),
                       BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(5, 5, 5), gp::DX()), 3, 20).Shape())
          .Shape(),
  };
  for (const TopoDS_Shape& shape : shapes) ExpectAsOcctMakesIt(shape);
  const ShapeResult hostShapes[] = {Shape::Box({-20, -15, -10}, {20, 15, 10}), Shape::Sphere({0, 0, 0}, 25),
                                    Shape::Cylinder({0, 0, -20}, 15, 40),      Shape::Cone({0, 0, -20}, 15, 40),
                                    Shape::Torus({0, 0, 0}, 30, 8),            Shape::Wedge({-20, -15, -10}, {20, 15, 10})};
  for (const ShapeResult& made : hostShapes) {
    ASSERT_TRUE(made.Ok());
    ExpectAsOcctMakesIt(ShapeAccess::Get(made.shape));
  }
}

// Solids and bodies of real drawings: B-spline surfaces, seams, degenerate edges, holes and
// located sub-shapes as the SAT reader builds them.
TEST(MovedCopy, CorpusSolidsComeOutAsOcctTransformMakesThem) {
  const plx::test::HostSession session;
  int checked = 0;
  for (const char* file : {"ezdxf_3dsolids.dxf", "ezdxf_sphere_r2018.dxf", "ezdxf_torus_r2010.dxf",
                           "ezdxf_uncommon.dxf", "libredwg_2000_TS1.dxf", "libredwg_example_2013.dxf"}) {
    SCOPED_TRACE(file);
    AcDbDatabase database;
    std::string error;
    ASSERT_TRUE(plx::host::ImportDxfFile(plx::test::CorpusDir() / file, database, error)) << error;
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(acdbOpenObject(space, database.modelSpaceId(), AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecordIterator* it = nullptr;
    ASSERT_EQ(space->newIterator(it), Acad::eOk);
    for (; !it->done(); it->step()) {
      AcDbEntity* entity = nullptr;
      if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
      if (const AcDbModelerEntity* modeler = AcDbModelerEntity::cast(entity); modeler && !modeler->isNull()) {
        ExpectAsOcctMakesIt(ShapeAccess::Get(*static_cast<const Shape*>(modeler->body())));
        ++checked;
      }
      entity->close();
    }
    delete it;
    space->close();
  }
  EXPECT_GT(checked, 0);
}

TEST(MovedCopy, FreeVerticesAndEdgesComeOutAsOcctTransformMakesThem) {
  BRep_Builder builder;
  TopoDS_Compound loose;
  builder.MakeCompound(loose);
  builder.Add(loose, BRepPrimAPI_MakeBox(1, 1, 1).Shape());
  builder.Add(loose, BRepBuilderAPI_MakeVertex(gp_Pnt(5, 5, 5)).Shape());
  builder.Add(loose, BRepBuilderAPI_MakeEdge(gp_Pnt(-1, 0, 0), gp_Pnt(-2, 3, 1)).Shape());
  ExpectAsOcctMakesIt(loose);
}

// A shape held twice is handed back to OCCT's transform, which the host's transform still uses.
TEST(MovedCopy, LeavesRepeatedShapesToOcct) {
  gp_Trsf shift;
  shift.SetTranslation(gp_Vec(1, 2, 3));
  BRep_Builder builder;
  const TopoDS_Shape box = BRepPrimAPI_MakeBox(1, 1, 1).Shape();
  TopoDS_Compound twice;
  builder.MakeCompound(twice);
  builder.Add(twice, box);
  builder.Add(twice, box);
  EXPECT_TRUE(MovedCopy(twice, shift).IsNull());
  EXPECT_TRUE(MovedCopy(TopoDS_Shape(), shift).IsNull());

  Shape shape = ShapeAccess::Make(twice, ShapeKind::kSolid);
  ASSERT_EQ(testing::Apply(shape, testing::Translation(1, 2, 3)), Acad::eOk);
  testing::ExpectExtents(shape, {1, 2, 3}, {2, 3, 4});
}

}  // namespace
}  // namespace plx::modeller
