#include <gtest/gtest.h>

#include <string>

#include "opennurbs.h"

TEST(ONSimpleArray, AppendGrowsAndKeepsValues) {
  ON_SimpleArray<int> a;
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Array(), nullptr);
  EXPECT_EQ(a.Last(), nullptr);
  for (int i = 0; i < 1000; ++i) a.Append(i * 3);
  ASSERT_EQ(a.Count(), 1000);
  EXPECT_GE(a.Capacity(), 1000);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(a[i], i * 3);
  EXPECT_EQ(*a.Last(), 2997);
  EXPECT_EQ(a.At(1000), nullptr);
  EXPECT_EQ(a.At(-1), nullptr);
}

TEST(ONSimpleArray, AppendOfOwnElementSurvivesGrowth) {
  ON_SimpleArray<double> a;
  a.Append(1.5);
  for (int i = 0; i < 100; ++i) a.Append(a[0]);  // reallocation while value points into a
  for (int i = 0; i < a.Count(); ++i) ASSERT_EQ(a[i], 1.5);
}

TEST(ONSimpleArray, AppendNewIsZeroed) {
  ON_SimpleArray<ON_MeshFace> a;
  a.SetCapacity(4);
  a.SetCount(4);
  for (int i = 0; i < 4; ++i) a[i] = ON_MeshFace{{7, 7, 7, 7}};
  a.SetCount(0);
  ON_MeshFace& f = a.AppendNew();
  EXPECT_EQ(f.vi[0], 0);
  EXPECT_EQ(f.vi[3], 0);
}

TEST(ONSimpleArray, RemoveInsertEmptyDestroyReserve) {
  ON_SimpleArray<int> a;
  a.Reserve(10);
  EXPECT_GE(a.Capacity(), 10);
  EXPECT_EQ(a.Count(), 0);
  for (int i = 0; i < 5; ++i) a.Append(i);
  a.Remove(1);  // 0 2 3 4
  a.Insert(0, 9);  // 9 0 2 3 4
  a.Remove();   // 9 0 2 3
  ASSERT_EQ(a.Count(), 4);
  EXPECT_EQ(a[0], 9);
  EXPECT_EQ(a[1], 0);
  EXPECT_EQ(a[2], 2);
  EXPECT_EQ(a[3], 3);
  const int capacity = a.Capacity();
  a.Empty();
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), capacity);
  a.Destroy();
  EXPECT_EQ(a.Capacity(), 0);
  EXPECT_EQ(a.Array(), nullptr);
}

TEST(ONSimpleArray, CopyIsDeepAndMoveLeavesSourceEmpty) {
  ON_SimpleArray<int> a;
  for (int i = 0; i < 10; ++i) a.Append(i);
  ON_SimpleArray<int> b(a);
  b[0] = 42;
  EXPECT_EQ(a[0], 0);
  ON_SimpleArray<int> c;
  c.Append(5);
  c = a;
  EXPECT_EQ(c.Count(), 10);
  EXPECT_EQ(c[9], 9);
  ON_SimpleArray<int> d(std::move(c));
  EXPECT_EQ(d.Count(), 10);
  EXPECT_EQ(c.Count(), 0);  // NOLINT: moved-from state is specified
}

TEST(ONClassArray, HoldsObjectsWithOwnStorage) {
  ON_ClassArray<std::string> a;
  a.Append("one");
  a.AppendNew() = "two";
  a.Append(a[0]);
  ASSERT_EQ(a.Count(), 3);
  EXPECT_EQ(a[2], "one");
  EXPECT_EQ(*a.Last(), "one");
  a.Remove(0);
  EXPECT_EQ(a[0], "two");
  a.Empty();
  EXPECT_EQ(a.Count(), 0);
  a.Append("x");
  a.Destroy();
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.Capacity(), 0);
  EXPECT_EQ(a.Array(), nullptr);
}

TEST(ONClassArray, SetCountDefaultConstructs) {
  ON_ClassArray<ON_Mesh> meshes;
  meshes.SetCount(3);
  ASSERT_EQ(meshes.Count(), 3);
  EXPECT_EQ(meshes[2].VertexCount(), 0);
}
