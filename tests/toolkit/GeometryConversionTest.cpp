// Points, vectors, transforms and attribute colours between the host and openNURBS.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "toolkit/GeometryConversion.h"

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class GeometryConversionRoundTrip : public testing::TestWithParam<double> {};

TEST_P(GeometryConversionRoundTrip, PointsAndVectorsComeBackBitForBit) {
  const double v = GetParam();
  const ON_3dPoint p(v, -v, v * 3);
  const ON_3dPoint back = AcGePointToONPoint(ONPointToAcGePoint(p));
  EXPECT_TRUE(SameBits(back.x, p.x) && SameBits(back.y, p.y) && SameBits(back.z, p.z));
  const AcGeVector3d vec(v, 0.5, -v);
  const AcGeVector3d vecBack = ONVectorToAcGeVector(AcGeVectorToONVector(vec));
  EXPECT_TRUE(SameBits(vecBack.x, vec.x) && SameBits(vecBack.y, vec.y) &&
              SameBits(vecBack.z, vec.z));
  const AcGePoint3d q = ONPointToAcGePoint(p);
  EXPECT_TRUE(SameBits(q.x, p.x) && SameBits(q.y, p.y) && SameBits(q.z, p.z));
}

INSTANTIATE_TEST_SUITE_P(Values, GeometryConversionRoundTrip,
                         testing::Values(0.0, -0.0, 0.1, 1e-310, 1e300, -123456.789,
                                         std::numeric_limits<double>::infinity()));

TEST(GeometryConversion, TranslationStaysInColumnThree) {
  ON_Xform move;
  move.Translation(ON_3dVector(5, 6, 7));
  const AcGeMatrix3d matrix = XformToAcGeMatrix(move);
  EXPECT_EQ(matrix.entry[0][3], 5.0);
  EXPECT_EQ(matrix.entry[1][3], 6.0);
  EXPECT_EQ(matrix.entry[2][3], 7.0);
  EXPECT_EQ(matrix.entry[3][0], 0.0);

  AcGeMatrix3d hostMove;
  hostMove.entry[0][3] = 5;
  hostMove.entry[1][3] = 6;
  hostMove.entry[2][3] = 7;
  const ON_Xform xform = AcGeMatrixToXform(hostMove);
  EXPECT_EQ(xform.m_xform[0][3], 5.0);
  EXPECT_EQ(xform.m_xform[1][3], 6.0);
  EXPECT_EQ(xform.m_xform[2][3], 7.0);
  EXPECT_EQ(xform * ON_3dPoint(1, 1, 1), ON_3dPoint(6, 7, 8));
}

TEST(GeometryConversion, EveryEntryCopiedWithoutTransposing) {
  // A projection: its bottom row is not 0, 0, 0, 1 and is copied all the same.
  ON_Xform xform;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) xform.m_xform[i][j] = 10 * i + j + 0.25;
  const AcGeMatrix3d matrix = XformToAcGeMatrix(xform);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(matrix.entry[i][j], 10 * i + j + 0.25) << i << "," << j;
  const ON_Xform back = AcGeMatrixToXform(matrix);
  EXPECT_EQ(std::memcmp(back.m_xform, xform.m_xform, sizeof xform.m_xform), 0);
}

struct ColourCase {
  int source;
  bool byLayer;
  bool byColor;
};

class AttributesColour : public testing::TestWithParam<ColourCase> {};

TEST_P(AttributesColour, FollowsTheColourSource) {
  const ColourCase& c = GetParam();
  ON_3dmObjectAttributes attributes;
  attributes.SetColorSource(static_cast<ON::object_color_source>(c.source));
  attributes.m_color = ON_Color(10, 20, 30, 200);
  const AcCmColor color = AttributesColorToAcCmColor(attributes);
  EXPECT_EQ(color.isByLayer(), c.byLayer);
  EXPECT_EQ(color.isByColor(), c.byColor);
  EXPECT_FALSE(color.isByBlock());
  if (c.byColor) {
    EXPECT_EQ(color.red(), 10);
    EXPECT_EQ(color.green(), 20);
    EXPECT_EQ(color.blue(), 30);
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, AttributesColour,
                         testing::Values(ColourCase{ON::color_from_layer, true, false},
                                         ColourCase{ON::color_from_object, false, true},
                                         ColourCase{ON::color_from_material, true, false},
                                         // The default colour, which the host makes ByLayer.
                                         ColourCase{ON::color_from_parent, true, false}));

TEST(GeometryConversion, ParentSourceGivesTheDefaultColourNotByBlock) {
  ON_3dmObjectAttributes attributes;
  attributes.m_color = ON_Color(1, 2, 3);
  attributes.SetColorSource(ON::color_from_parent);
  const AcCmColor color = AttributesColorToAcCmColor(attributes);
  EXPECT_EQ(color, AcCmColor());
  EXPECT_FALSE(color.isByBlock());
}

}  // namespace
