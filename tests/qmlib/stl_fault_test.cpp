// A disk that fills up while the file is written, made with a file-size limit: the write
// fails part way, and the old file must survive with nothing left beside it. Its own
// executable, because the limit and the ignored SIGXFSZ belong to the whole process.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <tuple>
#include <vector>

#include "QMLib.h"
#include "support/temp_folder.h"
#include "support/test_meshes.h"

using qmtest::PathOf;
using qmtest::TempFolder;

namespace {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);  // write then fails with EFBIG instead
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = nullptr;
};

}  // namespace

// The limit falls in the first buffer, or after several buffers have reached the file.
class StlWriterDiskFull : public testing::TestWithParam<std::tuple<int, rlim_t>> {};

TEST_P(StlWriterDiskFull, KeepsTheOldFileAndLeavesNoTemporary) {
  const auto [type, bytes] = GetParam();
  TempFolder folder;
  const auto path = folder / "big.stl";
  const std::string oldContent = "an earlier export that must survive\n";
  qmtest::WriteBytes(path, oldContent);
  ON_ClassArray<ON_Mesh> meshes;
  meshes.Append(qmtest::Sphere(ON_3dPoint(0, 0, 0), 1, 200, 400));  // far beyond one buffer
  int result = 1;
  {
    const FileSizeLimit limit(bytes);
    result = QMSTL::MeshToSTL(meshes, PathOf(path.string()), type);
  }
  EXPECT_EQ(result, 0);
  const std::wstring error = QMSTL::GetError().GetString();
  EXPECT_EQ(error.rfind(L"Unable to write file " + std::wstring(PathOf(path.string()).GetString()) + L": ", 0), 0u)
      << error;
  EXPECT_EQ(qmtest::ReadBytes(path), oldContent);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"big.stl"});

  // With room again the same call succeeds.
  ASSERT_EQ(QMSTL::MeshToSTL(meshes, PathOf(path.string()), type), 1) << QMSTL::GetError().GetString();
  ON_Mesh back;
  ASSERT_EQ(QMSTL::STLToMesh(PathOf(path.string()), back), 1);
  EXPECT_EQ(back.FaceCount(), qmtest::FacetCount(meshes));
}

INSTANTIATE_TEST_SUITE_P(Types, StlWriterDiskFull, testing::Combine(testing::Values(0, 1), testing::Values(64 << 10, 3 << 20)),
                         [](const testing::TestParamInfo<std::tuple<int, rlim_t>>& info) {
                           return std::string(std::get<0>(info.param) ? "Binary" : "Ascii") + "At" +
                                  std::to_string(std::get<1>(info.param) >> 10) + "k";
                         });
