#include <functional>
#include <map>
#include <memory>

#include "dbsol3d.h"

#include "ModellerTestSupport.h"
#include "SatStructure.h"

namespace plx::modeller {
namespace {

using plx::test::CheckSatStructure;
using plx::test::JoinProblems;
using plx::test::SatFile;
using plx::test::SplitSat;
using plx::test::TempDir;
using testing::Apply;
using testing::kPi;
using testing::Made;
using testing::Matrix;

Shape Cavity() {
  const Shape outer = Made(Shape::Box({0, 0, 0}, {10, 10, 10}));
  const Shape inner = Made(Shape::Box({3, 3, 3}, {6, 6, 6}));
  return Made(outer.Boolean(BoolOp::kSubtract, inner));
}

Shape TwoBoxes() {
  const Shape a = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  const Shape b = Made(Shape::Box({5, 0, 0}, {6, 2, 1}));
  return Made(a.Boolean(BoolOp::kUnite, b));
}

// The cylinder along x, turned from z.
Shape CylinderAlongX(double radius) {
  Shape across = Made(Shape::Cylinder({0, 0, -5}, radius, 10));
  Matrix turn = testing::Identity();
  turn[0][0] = 0, turn[0][2] = 1, turn[2][0] = -1, turn[2][2] = 0;
  EXPECT_EQ(Apply(across, turn), Acad::eOk);
  return across;
}

Shape CrossedCylinders() {
  const Shape along = Made(Shape::Cylinder({0, 0, -5}, 2, 10));
  return Made(along.Boolean(BoolOp::kUnite, CylinderAlongX(1.5)));
}

// Loops of B-spline intersection curves that cross the seams of a sphere and a torus.
Shape SphereWithCrossingHole() {
  const Shape sphere = Made(Shape::Sphere({0, 0, 0}, 3));
  return Made(sphere.Boolean(BoolOp::kSubtract, CylinderAlongX(1)));
}

Shape TorusWithCrossingCylinder() {
  const Shape torus = Made(Shape::Torus({0, 0, 0}, 4, 1));
  return Made(torus.Boolean(BoolOp::kUnite, CylinderAlongX(0.7)));
}

// A cone pierced through its side by a cylinder across its axis: the cone's face keeps its
// base, its apex and two holes. along y keeps the holes off the cone's seam.
Shape PiercedCone(double radius, double offset, double height, bool alongY) {
  Shape across = CylinderAlongX(radius);
  Matrix m = testing::Identity();
  if (alongY) m[0][0] = 0, m[0][1] = -1, m[1][0] = 1, m[1][1] = 0;
  m[1][3] = offset, m[2][3] = height;
  EXPECT_EQ(Apply(across, m), Acad::eOk);
  const Shape cone = Made(Shape::Cone({0, 0, 0}, 3, 6));
  return Made(cone.Boolean(BoolOp::kUnite, across));
}

Shape ScaledSphere() {
  Shape sphere = Made(Shape::Sphere({1, 2, 3}, 2));
  EXPECT_EQ(Apply(sphere, testing::Scaling(1, 2, 0.5)), Acad::eOk);
  return sphere;
}

Shape TurnedAndMovedWedge() {
  Shape wedge = Made(Shape::Wedge({0, 0, 0}, {4, 2, 3}));
  const double c = std::cos(0.7), s = std::sin(0.7);
  Matrix m = testing::Identity();
  m[0][0] = c, m[0][1] = -s, m[1][0] = s, m[1][1] = c;
  m[0][3] = 10, m[1][3] = -4, m[2][3] = 7;
  EXPECT_EQ(Apply(wedge, m), Acad::eOk);
  return wedge;
}

struct SatCase {
  const char* name;
  friend void PrintTo(const SatCase& c, std::ostream* os) { *os << c.name; }
  std::function<Shape()> make;
  std::map<std::string, size_t> records;  // exact counts of these record kinds
};

const SatCase kCases[] = {
    {"Box", [] { return Made(Shape::Box({0, 0, 0}, {1, 2, 3})); },
     {{"body", 1}, {"lump", 1}, {"shell", 1}, {"face", 6}, {"plane-surface", 6}, {"loop", 6}, {"coedge", 24},
      {"edge", 12}, {"straight-curve", 12}, {"vertex", 8}, {"point", 8}}},
    {"Sphere", [] { return Made(Shape::Sphere({1, 1, 1}, 3)); },
     {{"face", 1}, {"sphere-surface", 1}, {"loop", 0}, {"edge", 0}, {"vertex", 0}}},
    {"Cylinder", [] { return Made(Shape::Cylinder({0, 0, 0}, 2, 5)); },
     {{"face", 3}, {"cone-surface", 1}, {"plane-surface", 2}, {"loop", 4}, {"coedge", 4}, {"edge", 2},
      {"ellipse-curve", 2}, {"vertex", 2}}},
    {"Cone", [] { return Made(Shape::Cone({0, 0, 0}, 2, 5)); },
     {{"face", 2}, {"cone-surface", 1}, {"plane-surface", 1}, {"loop", 3}, {"edge", 2}, {"ellipse-curve", 1},
      {"vertex", 2}}},
    {"Torus", [] { return Made(Shape::Torus({5, 5, 0}, 4, 1)); },
     {{"face", 1}, {"torus-surface", 1}, {"loop", 0}, {"edge", 0}}},
    {"Wedge", [] { return Made(Shape::Wedge({0, 0, 0}, {4, 2, 3})); },
     {{"face", 5}, {"plane-surface", 5}, {"edge", 9}, {"vertex", 6}}},
    {"BoxWithCavity", Cavity, {{"lump", 1}, {"shell", 2}, {"face", 12}, {"plane-surface", 12}, {"edge", 24}}},
    {"TwoDisjointBoxes", TwoBoxes, {{"body", 1}, {"lump", 2}, {"shell", 2}, {"face", 12}}},
    {"CrossedCylinders", CrossedCylinders, {{"body", 1}, {"lump", 1}}},
    {"SphereWithCrossingHole", SphereWithCrossingHole, {{"body", 1}, {"lump", 1}, {"sphere-surface", 1}}},
    {"TorusWithCrossingCylinder", TorusWithCrossingCylinder, {{"body", 1}, {"lump", 1}, {"torus-surface", 1}}},
    {"ConeCrossedAtItsBase", [] { return PiercedCone(0.8, 0, 0, false); }, {{"lump", 1}, {"cone-surface", 2}}},
    {"ConePiercedAcrossItsSeam", [] { return PiercedCone(0.5, 0, 1, false); }, {{"lump", 1}, {"loop", 11}}},
    {"ConePiercedBesideItsSeam", [] { return PiercedCone(1, 0, 3, true); }, {{"lump", 1}, {"loop", 11}}},
    {"ConePiercedOffItsAxis", [] { return PiercedCone(0.5, 1, 1, false); }, {{"lump", 1}, {"loop", 11}}},
    {"ConeWithItsApexAboveTheCylinder", [] { return PiercedCone(0.5, 0, 4.8, false); }, {{"lump", 1}}},
    {"NonUniformlyScaledSphere", ScaledSphere, {{"face", 1}, {"sphere-surface", 0}, {"spline-surface", 1}}},
    {"TurnedAndMovedWedge", TurnedAndMovedWedge, {{"face", 5}, {"plane-surface", 5}, {"edge", 9}}},
};

class SatOut : public ::testing::TestWithParam<SatCase> {};

TEST_P(SatOut, WritesOneWellFormedBodyWithTheExpectedRecords) {
  const Shape shape = GetParam().make();
  ASSERT_FALSE(shape.IsNull());
  std::string text;
  std::wstring reason;
  ASSERT_EQ(SatText({&shape}, text, &reason), Acad::eOk) << std::string(reason.begin(), reason.end());
  const SatFile file = SplitSat(text);
  EXPECT_EQ(file.version, 700);
  EXPECT_EQ(file.declaredBodies, 1);
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, true)), "") << text;
  for (const auto& [name, count] : GetParam().records) EXPECT_EQ(file.Count(name), count) << name << "\n" << text;
}

INSTANTIATE_TEST_SUITE_P(Shapes, SatOut, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Points of the written records lie where the shape is, locations and transforms applied.
TEST(SatOutGeometry, PointsLieInTheShapesExtents) {
  const Shape wedge = TurnedAndMovedWedge();
  Point3 low, high;
  ASSERT_EQ(wedge.Extents(low, high), Acad::eOk);
  std::string text;
  ASSERT_EQ(SatText({&wedge}, text), Acad::eOk);
  const SatFile file = SplitSat(text);
  size_t points = 0;
  for (const auto& r : file.records) {
    if (r.name != "point") continue;
    ++points;
    const double x = std::stod(r.fields[0]), y = std::stod(r.fields[1]), z = std::stod(r.fields[2]);
    EXPECT_TRUE(x >= low.x - 1e-9 && x <= high.x + 1e-9 && y >= low.y - 1e-9 && y <= high.y + 1e-9 &&
                z >= low.z - 1e-9 && z <= high.z + 1e-9);
  }
  EXPECT_EQ(points, 6u);
}

TEST(SatOutGeometry, SolidFacesAreSingleSidedRegionFacesDouble) {
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  std::vector<Shape> regions;
  ASSERT_EQ(box.Explode(regions), Acad::eOk);
  ASSERT_FALSE(regions.empty());
  std::string text;
  ASSERT_EQ(SatText({&box, &regions[0]}, text), Acad::eOk);
  const SatFile file = SplitSat(text);
  EXPECT_EQ(file.declaredBodies, 2);
  EXPECT_EQ(JoinProblems(CheckSatStructure(file, false)), "");
  size_t single = 0, dual = 0;
  for (const auto& r : file.records)
    if (r.name == "face") (r.fields[6] == "single" ? single : dual) += 1;
  EXPECT_EQ(single, 6u);
  EXPECT_EQ(dual, 1u);
}

// The box's planes face outwards: a forward face's plane normal points away from the centre.
TEST(SatOutGeometry, BoxFaceNormalsPointOutwards) {
  const Shape box = Made(Shape::Box({0, 0, 0}, {2, 2, 2}));
  std::string text;
  ASSERT_EQ(SatText({&box}, text), Acad::eOk);
  const SatFile file = SplitSat(text);
  for (const auto& face : file.records) {
    if (face.name != "face") continue;
    const auto& plane = file.records[std::stol(face.fields[4].substr(1))];
    ASSERT_EQ(plane.name, "plane-surface");
    double out = 0;
    for (int k = 0; k < 3; ++k) out += (std::stod(plane.fields[k]) - 1) * std::stod(plane.fields[3 + k]);
    if (face.fields[5] == "reversed") out = -out;
    EXPECT_GT(out, 0.5);
  }
}

TEST(SatOutFile, RefusesNullShapesAndKeepsTheOldFile) {
  TempDir dir;
  const auto path = dir.Path() / "old.sat";
  { std::ofstream(path) << "old"; }
  const Shape null;
  std::wstring reason;
  EXPECT_EQ(WriteSat(path.wstring(), {&null}, &reason), Acad::eInvalidInput);
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(plx::test::ReadFile(path), "old");
}

TEST(SatOutFile, ReplacesAnOldFileWhenComplete) {
  TempDir dir;
  const auto path = dir.Path() / "out.sat";
  { std::ofstream(path) << "old"; }
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  ASSERT_EQ(WriteSat(path.wstring(), {&box}), Acad::eOk);
  const std::string text = plx::test::ReadFile(path);
  EXPECT_EQ(text.compare(0, 4, "700 "), 0);
  EXPECT_NE(text.find("End-of-ACIS-data"), std::string::npos);
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1u);  // no temporary left beside it
}

TEST(SatOutFile, UnwritableFolderIsAFileAccessError) {
  TempDir dir;
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  std::wstring reason;
  EXPECT_EQ(WriteSat((dir.Path() / "missing" / "out.sat").wstring(), {&box}, &reason), Acad::eFileAccessErr);
  EXPECT_NE(reason.find(L"missing"), std::wstring::npos);
}

}  // namespace
}  // namespace plx::modeller

namespace plx::modeller {
namespace {

void ExpectSameSolid(const Shape& read, const Shape& written) {
  EXPECT_EQ(read.Kind(), written.Kind());
  const double volume = written.Volume();
  EXPECT_NEAR(read.Volume(), volume, 1e-6 * std::fabs(volume));
  Point3 a0, a1, b0, b1;
  ASSERT_EQ(written.Extents(a0, a1), Acad::eOk);
  ASSERT_EQ(read.Extents(b0, b1), Acad::eOk);
  const double size = std::hypot(a1.x - a0.x, a1.y - a0.y, a1.z - a0.z);
  for (const auto& [p, q] : {std::pair{a0, b0}, std::pair{a1, b1}}) {
    EXPECT_NEAR(q.x, p.x, 1e-6 * size);
    EXPECT_NEAR(q.y, p.y, 1e-6 * size);
    EXPECT_NEAR(q.z, p.z, 1e-6 * size);
  }
}

TEST_P(SatOut, ReadsBackAsTheSameSolid) {
  const Shape shape = GetParam().make();
  std::string text;
  ASSERT_EQ(SatText({&shape}, text), Acad::eOk);
  const SatReadResult read = ReadSatText(text);
  ASSERT_TRUE(read.Ok()) << std::string(read.reason.begin(), read.reason.end()) << "\n" << text;
  ASSERT_EQ(read.bodies.size(), 1u);
  ExpectSameSolid(read.bodies[0], shape);
}

const wchar_t* ClassFor(ShapeKind kind) {
  return kind == ShapeKind::kSolid ? L"AcDb3dSolid" : kind == ShapeKind::kRegion ? L"AcDbRegion" : L"AcDbBody";
}

// The same through the host's entities: acisOut writes the file, acisIn reads it.
TEST_P(SatOut, GoesThroughAcisOutAndAcisInAsTheSameEntity) {
  const Shape shape = GetParam().make();
  AcDb3dSolid solid;
  ASSERT_EQ(solid.setBody(&shape), Acad::eOk);
  TempDir dir;
  const std::wstring path = (dir / "entity.sat").wstring();
  AcDbVoidPtrArray out;
  out.append(static_cast<AcDbEntity*>(&solid));
  ASSERT_EQ(AcDbBody::acisOut(path.c_str(), out), Acad::eOk);
  const SatFile file = SplitSat(plx::test::ReadFile(dir / "entity.sat"));
  for (const auto& [name, count] : GetParam().records) EXPECT_EQ(file.Count(name), count) << name;

  AcDbVoidPtrArray in;
  ASSERT_EQ(AcDbBody::acisIn(path.c_str(), in), Acad::eOk);
  ASSERT_EQ(in.length(), 1);
  std::unique_ptr<AcDbEntity> read(static_cast<AcDbEntity*>(in[0]));
  EXPECT_STREQ(read->isA()->name(), ClassFor(shape.Kind()));
  const auto* entity = AcDbModelerEntity::cast(read.get());
  ASSERT_TRUE(entity && entity->body());
  ExpectSameSolid(*static_cast<const Shape*>(entity->body()), shape);
}

TEST(SatOutRoundTrip, SeveralShapesOfEveryKindKeepTheirOrderAndKinds) {
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 2, 3}));
  std::vector<Shape> pieces;
  ASSERT_EQ(Made(Shape::Cylinder({0, 0, 0}, 1, 2)).Explode(pieces), Acad::eOk);
  const Shape* region = nullptr;
  const Shape* sheet = nullptr;
  for (const Shape& piece : pieces) {
    if (piece.Kind() == ShapeKind::kRegion) region = &piece;
    if (piece.Kind() == ShapeKind::kBody) sheet = &piece;
  }
  ASSERT_TRUE(region && sheet);
  std::string text;
  ASSERT_EQ(SatText({sheet, &box, region}, text), Acad::eOk);
  const SatReadResult read = ReadSatText(text);
  ASSERT_TRUE(read.Ok()) << std::string(read.reason.begin(), read.reason.end());
  ASSERT_EQ(read.bodies.size(), 3u);
  EXPECT_EQ(read.bodies[0].Kind(), ShapeKind::kBody);
  EXPECT_NEAR(read.bodies[0].Area(), sheet->Area(), 1e-6 * sheet->Area());
  ExpectSameSolid(read.bodies[1], box);
  EXPECT_EQ(read.bodies[2].Kind(), ShapeKind::kRegion);
  EXPECT_NEAR(read.bodies[2].Area(), region->Area(), 1e-6 * region->Area());
}

}  // namespace
}  // namespace plx::modeller
