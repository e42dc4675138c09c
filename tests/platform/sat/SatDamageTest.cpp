// Damaged SAT data: every prefix of the corpus texts cut at a line, and seeded byte flips,
// give a status with a reason or shapes, never a crash (run under the sanitizers in CI).
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "SatCorpus.h"
#include "TestSupport.h"
#include "arxhost/Modeller.h"
#include "win32/text.h"

namespace plx::modeller {
namespace {

// A read gives shapes or a reason; solids that come back enclose a volume. True for shapes.
bool ExpectStatusOrShapes(const std::string& text, const std::string& what) {
  const SatReadResult read = ReadSatText(text);
  if (!read.Ok()) {
    EXPECT_FALSE(read.reason.empty()) << what;
    EXPECT_TRUE(read.bodies.empty()) << what;
    return false;
  }
  for (const Shape& shape : read.bodies) {
    if (shape.Kind() == ShapeKind::kSolid) {
      EXPECT_GE(shape.Volume(), 0.0) << what;
    }
  }
  return true;
}

TEST(SatDamage, EveryLinePrefixOfTheCorpusTextsGivesAStatusOrShapes) {
  int prefixes = 0, failures = 0;
  for (const test::CorpusSat& sat : test::AllCorpusSat()) {
    for (std::size_t end = sat.text.find('\n'); end != std::string::npos;
         end = sat.text.find('\n', end + 1)) {
      const std::string prefix = sat.text.substr(0, end + 1);
      ++prefixes;
      if (!ExpectStatusOrShapes(prefix, sat.Name() + " cut at " + std::to_string(end))) ++failures;
    }
  }
  // Most prefixes lose records that earlier ones point at.
  EXPECT_GT(failures, prefixes / 2);
}

TEST(SatDamage, SeededByteFlipsGiveAStatusOrShapes) {
  const std::vector<test::CorpusSat> corpus = test::AllCorpusSat();
  std::mt19937 random(20261210);
  // Half of the flips put in a character that means something to the format.
  const std::string meaningful = "$#@-+.0123456789eE {}\n IF";
  constexpr int kFlips = 2000;
  for (int i = 0; i < kFlips; ++i) {
    std::string text = corpus[static_cast<std::size_t>(i) % corpus.size()].text;
    const std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random);
    const char was = text[at];
    if (i % 2 == 0)
      text[at] =
          meaningful[std::uniform_int_distribution<std::size_t>(0, meaningful.size() - 1)(random)];
    else
      text[at] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random));
    ExpectStatusOrShapes(text, "flip " + std::to_string(i) + " at " + std::to_string(at) + " of '" +
                                   std::string(1, was) + "'");
  }
}

// A damaged file whose body healing cannot make valid: refused, and nothing the healer or the
// check made is left behind (LeakSanitizer in the sanitizer build).
TEST(SatDamage, ABodyHealingCannotMendIsRefusedWithoutLeaks) {
  const std::string text =
      plx::test::ReadFile(std::filesystem::path(PLOVEX_SOURCE_DIR) / "tests/platform/sat/data/refused-after-healing.sat");
  const SatReadResult read = ReadSatText(text);
  EXPECT_EQ(read.status, Acad::eCannotRestoreFromAcisFile);
  EXPECT_NE(plx::Utf8FromWide(read.reason).find("the body is not a valid shape"), std::string::npos)
      << plx::Utf8FromWide(read.reason);
  EXPECT_TRUE(read.bodies.empty());
}

// A fuzzed torus of radius 1e12 under a non-uniform transform: the healer spent seconds on it.
TEST(SatDamage, ATorusOfAstronomicalSizeIsRefusedAtOnce) {
  const std::string text = plx::test::ReadFile(std::filesystem::path(PLOVEX_SOURCE_DIR) /
                                               "tests/platform/sat/data/torus-of-astronomical-size.sat");
  const SatReadResult read = ReadSatText(text);
  EXPECT_EQ(read.status, Acad::eCannotRestoreFromAcisFile);
  EXPECT_NE(plx::Utf8FromWide(read.reason).find("out of range"), std::string::npos) << plx::Utf8FromWide(read.reason);
  EXPECT_TRUE(read.bodies.empty());
}

}  // namespace
}  // namespace plx::modeller
