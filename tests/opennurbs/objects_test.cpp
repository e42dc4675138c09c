#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "opennurbs.h"

namespace {

TEST(ONXform, DefaultIsIdentityAndTranslationSitsInColumnThree) {
  const ON_Xform identity;
  EXPECT_TRUE(identity.IsIdentity());
  ON_Xform move;
  move.Translation(ON_3dVector(5, 6, 7));
  EXPECT_EQ(move.m_xform[0][3], 5.0);
  EXPECT_EQ(move.m_xform[1][3], 6.0);
  EXPECT_EQ(move.m_xform[2][3], 7.0);
  EXPECT_EQ(move * ON_3dPoint(1, 1, 1), ON_3dPoint(6, 7, 8));
  EXPECT_EQ(move * ON_3dVector(1, 1, 1), ON_3dVector(1, 1, 1));
  ON_Xform scale(2.0);
  scale[3][3] = 1.0;
  EXPECT_EQ((move * scale) * ON_3dPoint(1, 1, 1), ON_3dPoint(7, 8, 9));
  EXPECT_EQ((scale * move) * ON_3dPoint(1, 1, 1), ON_3dPoint(12, 14, 16));
}

TEST(ONXform, ProjectionDividesByWeight) {
  ON_Xform projection;
  projection.m_xform[3][2] = 1.0;
  projection.m_xform[3][3] = 0.0;
  EXPECT_EQ(projection * ON_3dPoint(2, 4, 2), ON_3dPoint(1, 2, 1));
}

TEST(ONUuid, CreatedIdsAreDistinctAndNotNil) {
  EXPECT_TRUE(ON_UuidIsNil(ON_nil_uuid));
  std::set<std::tuple<unsigned, unsigned short, unsigned short>> seen;
  for (int i = 0; i < 100; ++i) {
    const ON_UUID id = ON_CreateUuid();
    EXPECT_TRUE(ON_UuidIsNotNil(id));
    EXPECT_EQ(id.Data3 >> 12, 4);
    EXPECT_TRUE(seen.emplace(id.Data1, id.Data2, id.Data3).second);
  }
  const ON_UUID a = ON_CreateUuid();
  ON_UUID b = a;
  EXPECT_EQ(a, b);
  b.Data4[7] ^= 1;
  EXPECT_NE(a, b);
}

TEST(ON3dmObjectAttributes, ColorSourceDefaultsToLayer) {
  ON_3dmObjectAttributes attributes;
  EXPECT_EQ(attributes.ColorSource(), ON::color_from_layer);
  attributes.SetColorSource(ON::color_from_object);
  EXPECT_EQ(attributes.ColorSource(), ON::color_from_object);
  EXPECT_EQ(ON::ObjectColorSource(3), ON::color_from_parent);
  EXPECT_EQ(ON::ObjectColorSource(9), ON::color_from_layer);
}

TEST(ONGeometry, SmallObjectsThroughTheBase) {
  ON_Geometry* objects[] = {new ON_Point(1, 2, 3), new ON_TextEntity2, new ON_InstanceRef,
                            new ON_InstanceDefinition};
  EXPECT_TRUE(objects[0]->IsValid());
  EXPECT_EQ(objects[0]->BoundingBox().m_min, ON_3dPoint(1, 2, 3));
  ASSERT_TRUE(objects[0]->Translate(ON_3dVector(1, 1, 1)));
  EXPECT_EQ(static_cast<ON_Point*>(objects[0])->point, ON_3dPoint(2, 3, 4));

  // A new text entity carries nothing.
  const auto* text = static_cast<ON_TextEntity2*>(objects[1]);
  EXPECT_TRUE(text->m_usertext.empty());
  EXPECT_FALSE(text->IsValid());

  auto* ref = static_cast<ON_InstanceRef*>(objects[2]);
  EXPECT_TRUE(ref->m_xform.IsIdentity());
  EXPECT_FALSE(ref->IsValid());
  ref->m_instance_definition_uuid = ON_CreateUuid();
  EXPECT_TRUE(ref->IsValid());
  ASSERT_TRUE(ref->Translate(ON_3dVector(0, 0, 2)));
  EXPECT_EQ(ref->m_xform.m_xform[2][3], 2.0);

  auto* definition = static_cast<ON_InstanceDefinition*>(objects[3]);
  EXPECT_STREQ(definition->Name(), L"");
  definition->SetName(L"Bolt");
  definition->SetUuid(ON_CreateUuid());
  EXPECT_STREQ(definition->Name(), L"Bolt");
  EXPECT_TRUE(definition->IsValid());
  definition->SetName(nullptr);
  EXPECT_FALSE(definition->IsValid());

  for (ON_Geometry* object : objects) delete object;  // through the virtual destructor
}

}  // namespace
