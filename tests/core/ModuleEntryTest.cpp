// The module entry, driven as the platform's loader drives it. The library's objects are linked
// into this program, so its classes were registered at start-up; each test leaves them so.
#include <gtest/gtest.h>

#include "core/KwModule.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

HINSTANCE OtherModule() {
  static int token;
  return reinterpret_cast<HINSTANCE>(&token);
}

class ModuleEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    m_hModule = g_extensionModule.hModule;
    ASSERT_NE(m_hModule, nullptr);
    ASSERT_EQ(AfxRegisteredClasses().size(), 4u);
  }
  void TearDown() override {
    if (!g_extensionModule.bInitialized) KwModuleEntry(m_hModule, DLL_PROCESS_ATTACH);
    EXPECT_EQ(AfxRegisteredClasses().size(), 4u);
  }
  HINSTANCE m_hModule = nullptr;
};

TEST_F(ModuleEntry, ThreadAttachAndDetachSucceedAndChangeNothing) {
  EXPECT_TRUE(KwModuleEntry(m_hModule, DLL_THREAD_ATTACH));
  EXPECT_TRUE(KwModuleEntry(m_hModule, DLL_THREAD_DETACH));
  EXPECT_EQ(AfxRegisteredClasses().size(), 4u);
  EXPECT_EQ(AfxFindRuntimeClass("KwNumberMaskedEdit"), RUNTIME_CLASS(KwNumberMaskedEdit));
}

TEST_F(ModuleEntry, DetachReleasesTheClassesAndAttachRegistersThemAgain) {
  EXPECT_TRUE(KwModuleEntry(m_hModule, DLL_PROCESS_DETACH));
  EXPECT_FALSE(g_extensionModule.bInitialized);
  EXPECT_TRUE(AfxRegisteredClasses().empty());
  EXPECT_EQ(AfxFindRuntimeClass("KwNumberMaskedEdit"), nullptr);

  EXPECT_TRUE(KwModuleEntry(m_hModule, DLL_PROCESS_ATTACH));
  EXPECT_EQ(AfxFindRuntimeClass("KwNumberMaskedEdit"), RUNTIME_CLASS(KwNumberMaskedEdit));
  // A repeated attach neither fails nor lists the classes twice.
  EXPECT_TRUE(KwModuleEntry(m_hModule, DLL_PROCESS_ATTACH));
  EXPECT_EQ(AfxRegisteredClasses().size(), 4u);
}

// The framework refuses the record: the load fails and nothing is registered (or changed).
TEST_F(ModuleEntry, AnAttachTheFrameworkRefusesFailsTheLoad) {
  EXPECT_FALSE(KwModuleEntry(OtherModule(), DLL_PROCESS_ATTACH));  // the record is another module's
  EXPECT_EQ(g_extensionModule.hModule, m_hModule);
  EXPECT_EQ(AfxRegisteredClasses().size(), 4u);

  KwModuleEntry(m_hModule, DLL_PROCESS_DETACH);
  EXPECT_FALSE(KwModuleEntry(nullptr, DLL_PROCESS_ATTACH));  // no module handle
  EXPECT_TRUE(AfxRegisteredClasses().empty());
}

}  // namespace
