// The SDK's application framework: message dispatch and the command table's registration.
#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "arx.h"

namespace {

void Noop() {}
HINSTANCE g_instance = reinterpret_cast<HINSTANCE>(0x42);

constexpr AcEdCommandEntry kTable[] = {
    {L"T_GRP", L"_One", L"One", ACRX_CMD_TRANSPARENT, Noop, nullptr, -1},
    {L"T_GRP", L"_One", L"Again", ACRX_CMD_TRANSPARENT, Noop, nullptr, -1},  // refused: duplicate
    {L"T_GRP", L"_Two", L"Two", ACRX_CMD_MODAL, Noop, nullptr, -1},
};

class RecordingApp : public AcRxArxApp {
 public:
  RecordingApp() : AcRxArxApp(&g_instance, kTable, std::size(kTable)) {}
  void RegisterServerComponents() override { ++registered; }
  AcRx::AppRetCode On_kQuitMsg(void*) override {
    seen.push_back(8);
    return AcRx::kRetError;
  }
  AcRx::AppRetCode On_kNullMsg(void*) override {
    seen.push_back(0);
    return AcRx::kRetError;
  }
  int registered = 0;
  std::vector<int> seen;
};

}  // namespace

TEST(AppDispatch, EachCodeReachesItsHandlerAndCodesAbove15AnswerOk) {
  plx::test::HostSession session;
  RecordingApp app;
  EXPECT_EQ(app.EntryPoint(AcRx::kQuitMsg, nullptr), AcRx::kRetError);
  EXPECT_EQ(app.EntryPoint(AcRx::kNullMsg, nullptr), AcRx::kRetError);
  EXPECT_EQ(app.EntryPoint(AcRx::kSuspendMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(app.EntryPoint(static_cast<AcRx::AppMsgCode>(99), nullptr), AcRx::kRetOK);
  EXPECT_EQ(app.seen, (std::vector<int>{8, 0}));
}

TEST(AppDispatch, InitRegistersTheTableWithTheModuleInstanceAndUnloadRemovesIt) {
  plx::test::HostSession session;
  RecordingApp app;
  EXPECT_EQ(app.m_hdllInstance, nullptr);
  EXPECT_EQ(app.EntryPoint(AcRx::kInitAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(app.registered, 1);
  EXPECT_EQ(app.m_hdllInstance, g_instance);
  AcEdCommand* one = acedRegCmds->lookupCmd(L"_One");
  ASSERT_NE(one, nullptr);
  EXPECT_STREQ(one->localName(), L"One");
  EXPECT_EQ(one->resourceHandle(), g_instance);
  EXPECT_NE(acedRegCmds->lookupCmd(L"_Two"), nullptr);
  EXPECT_EQ(app.EntryPoint(AcRx::kUnloadAppMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(acedRegCmds->lookupCmd(L"_One"), nullptr);
  EXPECT_EQ(acedRegCmds->lookupCmd(L"_Two"), nullptr);
}
