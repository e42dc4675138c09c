// Finding resources by instance handle: the current resource handle first, then the chain of
// extension libraries; a module's own table only, never one of a library it depends on.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "DialogTestIds.h"
#include "afx.h"
#include "mfc/resources.h"

namespace {

class ResourceLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    withResources_ = dlopen(RESOURCE_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    plain_ = dlopen(PLAIN_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(withResources_, nullptr) << dlerror();
    ASSERT_NE(plain_, nullptr) << dlerror();
    previous_ = AfxGetResourceHandle();
  }
  void TearDown() override {
    AfxSetResourceHandle(previous_);
    if (plain_) dlclose(plain_);
    if (withResources_) dlclose(withResources_);
  }
  HINSTANCE WithResources() const { return static_cast<HINSTANCE>(withResources_); }
  HINSTANCE Plain() const { return static_cast<HINSTANCE>(plain_); }

  void* withResources_ = nullptr;
  void* plain_ = nullptr;
  HINSTANCE previous_ = nullptr;
};

CString Load(UINT id) {
  CString s;
  return s.LoadString(id) ? s : CString(L"<none>");
}

}  // namespace

TEST_F(ResourceLookup, EachModuleHasItsOwnTable) {
  const plx::mfc::ResourceTable* program = plx::mfc::ModuleResources(nullptr);
  const plx::mfc::ResourceTable* module = plx::mfc::ModuleResources(WithResources());
  ASSERT_NE(program, nullptr);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(program, module);
  EXPECT_EQ(module->dialogCount, 1);
  EXPECT_EQ(module->stringCount, 2);
  EXPECT_EQ(plx::mfc::ModuleResources(Plain()), nullptr);  // its dependency's table is not its own
}

TEST_F(ResourceLookup, CurrentResourceHandleComesFirst) {
  AfxSetResourceHandle(WithResources());
  EXPECT_EQ(Load(IDS_GREETING), L"Module greeting");
  HINSTANCE from = nullptr;
  const plx::mfc::DialogResource* dialog = plx::mfc::FindDialogResource(1, &from);
  ASSERT_NE(dialog, nullptr);
  EXPECT_STREQ(dialog->caption, L"Module Dialog");
  EXPECT_EQ(from, WithResources());
  AfxSetResourceHandle(nullptr);  // the program
  EXPECT_EQ(Load(IDS_GREETING), L"Hello, \"world\"\n");
  EXPECT_EQ(Load(20), L"<none>");
  EXPECT_EQ(plx::mfc::FindDialogResource(1), nullptr);
}

TEST_F(ResourceLookup, ExtensionLibrariesChainIsSearchedNext) {
  AFX_EXTENSION_MODULE extension;
  ASSERT_TRUE(AfxInitExtensionModule(extension, WithResources()));
  AfxSetResourceHandle(Plain());
  EXPECT_EQ(Load(20), L"<none>");
  {
    CDynLinkLibrary link(extension);
    EXPECT_EQ(Load(20), L"Only in the module");
    HINSTANCE from = nullptr;
    EXPECT_NE(plx::mfc::FindStringResource(20, &from), nullptr);
    EXPECT_EQ(from, WithResources());
  }
  EXPECT_EQ(Load(20), L"<none>");
  AfxTermExtensionModule(extension);
}

TEST_F(ResourceLookup, AHandleThatIsNoModuleHasNoResources) {
  int notAModule = 0;
  EXPECT_EQ(plx::mfc::ModuleResources(reinterpret_cast<HINSTANCE>(&notAModule)), nullptr);
}
