#include <functional>

#include "ModellerTestSupport.h"

namespace plx::modeller {
namespace {

using testing::Made;
using testing::RunAdmesh;
using plx::test::TempDir;

struct StlCase {
  const char* name;
  friend void PrintTo(const StlCase& c, std::ostream* os) { *os << c.name; }
  std::function<ShapeResult()> make;
  bool binary;
  double facetres;
};

class StlFile : public ::testing::TestWithParam<StlCase> {};

TEST_P(StlFile, IsClosedOutwardAndHoldsTheVolume) {
  const Shape shape = Made(GetParam().make());
  TempDir dir;
  const std::wstring path = (dir / "out.stl").wstring();
  ASSERT_EQ(shape.WriteStl(path, GetParam().binary, GetParam().facetres), Acad::eOk);
  std::vector<Triangle> triangles;
  ASSERT_EQ(shape.Tessellate(GetParam().facetres, triangles), Acad::eOk);

  const std::string bytes = plx::test::ReadFile(dir.Path() / "out.stl");
  if (GetParam().binary) {
    ASSERT_EQ(bytes.size(), 84 + 50 * triangles.size());
    EXPECT_NE(bytes.compare(0, 5, "solid"), 0);
  } else {
    EXPECT_EQ(bytes.compare(0, 6, "solid "), 0);
    EXPECT_EQ(bytes.find("endsolid"), bytes.rfind("endsolid"));
    EXPECT_EQ(bytes.find("solid", 1), bytes.find("endsolid") + 3);
  }

  const testing::AdmeshReport report = RunAdmesh(dir.Path() / "out.stl");
  SCOPED_TRACE(report.text);
  EXPECT_EQ(report.fileType, GetParam().binary ? "Binary STL file" : "ASCII STL file");
  EXPECT_EQ(report.facets, static_cast<long>(triangles.size()));
  EXPECT_EQ(report.disconnected, 0);
  EXPECT_EQ(report.parts, 1);
  EXPECT_EQ(report.degenerate, 0);
  EXPECT_EQ(report.reversed, 0);
  EXPECT_EQ(report.backwards, 0);
  EXPECT_NEAR(report.volume, shape.Volume(), 0.05 * shape.Volume());

  // Nothing but the file is left in the folder.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    StlOut, StlFile,
    ::testing::Values(StlCase{"BoxBinary", [] { return Shape::Box({1, 1, 1}, {3, 4, 5}); }, true, 0.5},
                      StlCase{"BoxAscii", [] { return Shape::Box({1, 1, 1}, {3, 4, 5}); }, false, 0.5},
                      StlCase{"SphereBinary", [] { return Shape::Sphere({2, 2, 2}, 2); }, true, 0.5},
                      StlCase{"SphereAsciiFine", [] { return Shape::Sphere({2, 2, 2}, 2); }, false, 5},
                      StlCase{"CylinderBinary", [] { return Shape::Cylinder({2, 2, 0}, 2, 3); }, true, 1},
                      StlCase{"ConeAscii", [] { return Shape::Cone({2, 2, 0}, 2, 3); }, false, 0.5},
                      StlCase{"TorusBinary", [] { return Shape::Torus({4, 4, 1}, 3, 1); }, true, 0.5},
                      StlCase{"WedgeBinary", [] { return Shape::Wedge({0, 0, 0}, {4, 2, 3}); }, true, 0.5},
                      StlCase{"BoxMinusCylinderBinary",
                              [] {
                                const Shape box = Made(Shape::Box({0, 0, 0}, {4, 4, 2}));
                                const Shape hole = Made(Shape::Cylinder({2, 2, -1}, 1, 4));
                                return box.Boolean(BoolOp::kSubtract, hole);
                              },
                              true, 0.5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StlOut, ReplacesAnOldFile) {
  TempDir dir;
  const std::wstring path = (dir / "out.stl").wstring();
  { std::ofstream(dir.Path() / "out.stl") << "old content"; }
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  ASSERT_EQ(box.WriteStl(path, true, 0.5), Acad::eOk);
  EXPECT_EQ(plx::test::ReadFile(dir.Path() / "out.stl").size(), 84u + 50 * 12);
}

TEST(StlOut, FailureLeavesOldFileAndNoTemporary) {
  TempDir dir;
  const std::wstring path = (dir / "out.stl").wstring();
  { std::ofstream(dir.Path() / "out.stl") << "old content"; }
  EXPECT_EQ(Shape().WriteStl(path, true, 0.5), Acad::eInvalidInput);
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  EXPECT_EQ(box.WriteStl(path, true, 20), Acad::eOutOfRange);
  EXPECT_EQ(plx::test::ReadFile(dir.Path() / "out.stl"), "old content");
  // A target that is a folder cannot be replaced: the temporary goes away again.
  std::filesystem::create_directory(dir.Path() / "folder.stl");
  EXPECT_EQ(box.WriteStl((dir / "folder.stl").wstring(), true, 0.5), Acad::eFileSystemErr);
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 2u);
}

TEST(StlOut, MissingFolderIsAnAccessError) {
  TempDir dir;
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  EXPECT_EQ(box.WriteStl((dir / "missing/out.stl").wstring(), true, 0.5), Acad::eFileAccessErr);
  EXPECT_EQ(box.WriteStl(L"", true, 0.5), Acad::eInvalidInput);
}

TEST(StlOut, TakesWindowsSeparators) {
  TempDir dir;
  std::filesystem::create_directory(dir.Path() / "sub");
  const Shape box = Made(Shape::Box({0, 0, 0}, {1, 1, 1}));
  ASSERT_EQ(box.WriteStl(dir.Path().wstring() + L"\\sub\\out.stl", false, 0.5), Acad::eOk);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "sub" / "out.stl"));
}

struct Placement {
  const char* name;
  friend void PrintTo(const Placement& c, std::ostream* os) { *os << c.name; }
  std::function<ShapeResult()> make;
  Acad::ErrorStatus status;
};

class PositiveOctant : public ::testing::TestWithParam<Placement> {};

TEST_P(PositiveOctant, Checked) {
  const Shape shape = Made(GetParam().make());
  EXPECT_EQ(CheckPositiveOctant(shape), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    StlOut, PositiveOctant,
    ::testing::Values(Placement{"BoxAtOrigin", [] { return Shape::Box({0, 0, 0}, {1, 1, 1}); }, Acad::eOk},
                      Placement{"SphereTouchingPlanes", [] { return Shape::Sphere({1, 1, 1}, 1); }, Acad::eOk},
                      Placement{"TorusTouchingPlanes", [] { return Shape::Torus({3, 3, 1}, 2, 1); }, Acad::eOk},
                      Placement{"BelowX", [] { return Shape::Box({-0.001, 0, 0}, {1, 1, 1}); }, Acad::eInvalidInput},
                      Placement{"BelowY", [] { return Shape::Sphere({5, 0.5, 5}, 1); }, Acad::eInvalidInput},
                      Placement{"BelowZ", [] { return Shape::Cylinder({5, 5, 0}, 1, -1); }, Acad::eInvalidInput}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StlOut, NullShapeHasNoOctant) { EXPECT_EQ(CheckPositiveOctant(Shape()), Acad::eNullExtents); }

}  // namespace
}  // namespace plx::modeller
