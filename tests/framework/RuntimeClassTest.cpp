// Run-time class records along a class chain, and the extension-module class registry.
#include <gtest/gtest.h>

#include <vector>

#include "framework/framework.h"

namespace {

class ShapeEdit : public CEdit {
  DECLARE_DYNAMIC(ShapeEdit)
};
IMPLEMENT_DYNAMIC(ShapeEdit, CEdit)

class RoundEdit : public ShapeEdit {
  DECLARE_DYNAMIC(RoundEdit)
};
IMPLEMENT_DYNAMIC(RoundEdit, ShapeEdit)

class SquareEdit : public ShapeEdit {
  DECLARE_DYNAMIC(SquareEdit)
};
IMPLEMENT_DYNAMIC(SquareEdit, ShapeEdit)

TEST(RuntimeClass, IsKindOfFollowsTheBaseChainOnly) {
  // A module linked with its own copy of the framework has its own record for CEdit.
  static const CRuntimeClass otherCEdit = {"CEdit", 0, 0xFFFF, nullptr, nullptr, nullptr};
  const RoundEdit round;
  const SquareEdit square;
  const CEdit edit;
  const CBrush brush;
  const struct {
    const char* name;
    const CObject* object;
    const CRuntimeClass* cls;
    bool expected;
  } cases[] = {
      {"its own class", &round, RUNTIME_CLASS(RoundEdit), true},
      {"its base", &round, RUNTIME_CLASS(ShapeEdit), true},
      {"the root", &round, RUNTIME_CLASS(CObject), true},
      {"another copy's record of a base", &round, &otherCEdit, true},
      {"not its sibling", &square, RUNTIME_CLASS(RoundEdit), false},
      {"a base is not its derived class", &edit, RUNTIME_CLASS(ShapeEdit), false},
      {"a brush is not a window", &brush, RUNTIME_CLASS(CWnd), false},
      {"nothing is of a null class", &round, nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, c.object->IsKindOf(c.cls) != FALSE);
  }
}

// --- Extension modules ---------------------------------------------------------------------

HMODULE FakeModule(int n) { return reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(0x10000 * n)); }
using Classes = std::vector<const CRuntimeClass*>;

class ExtensionModule : public ::testing::Test {
 protected:
  void TearDown() override {
    AfxTermExtensionModule(m_first);
    AfxTermExtensionModule(m_second);
  }
  AFX_EXTENSION_MODULE m_first;
  AFX_EXTENSION_MODULE m_second;
};

TEST_F(ExtensionModule, ChainedModulesRegisterTheirClassesUntilTheyTerminate) {
  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1),
                                     {RUNTIME_CLASS(ShapeEdit), RUNTIME_CLASS(RoundEdit)}));
  new CDynLinkLibrary(m_first);
  ASSERT_TRUE(AfxInitExtensionModule(m_second, FakeModule(2), {RUNTIME_CLASS(SquareEdit)}));
  new CDynLinkLibrary(m_second);
  EXPECT_EQ(RUNTIME_CLASS(RoundEdit), AfxFindRuntimeClass("RoundEdit"));
  EXPECT_EQ(nullptr, AfxFindRuntimeClass("CircleEdit"));
  EXPECT_EQ(nullptr, AfxFindRuntimeClass(nullptr));
  EXPECT_EQ(
      (Classes{RUNTIME_CLASS(ShapeEdit), RUNTIME_CLASS(RoundEdit), RUNTIME_CLASS(SquareEdit)}),
      AfxRegisteredClasses());

  AfxTermExtensionModule(m_first);
  EXPECT_FALSE(m_first.bInitialized);
  EXPECT_EQ(Classes{RUNTIME_CLASS(SquareEdit)}, AfxRegisteredClasses());

  // A terminated module loads again; terminating with bAll frees every chained library.
  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit)}));
  new CDynLinkLibrary(m_first);
  EXPECT_EQ(RUNTIME_CLASS(RoundEdit), AfxFindRuntimeClass("RoundEdit"));
  AfxTermExtensionModule(m_second, TRUE);
  EXPECT_TRUE(AfxRegisteredClasses().empty());
}

TEST_F(ExtensionModule, InitialisationRefusesWhatCannotBeRecorded) {
  EXPECT_FALSE(AfxInitExtensionModule(m_first, nullptr, {RUNTIME_CLASS(RoundEdit)}));
  EXPECT_FALSE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit), nullptr}));

  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit)}));
  // Once per module: the same module again keeps its first record, another module is refused.
  EXPECT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(SquareEdit)}));
  EXPECT_FALSE(AfxInitExtensionModule(m_first, FakeModule(2), {RUNTIME_CLASS(SquareEdit)}));
  EXPECT_EQ(FakeModule(1), m_first.hModule);
  EXPECT_EQ(Classes{RUNTIME_CLASS(RoundEdit)}, m_first.classes);
  // Initialised but not chained by a CDynLinkLibrary: not searched.
  EXPECT_EQ(nullptr, AfxFindRuntimeClass("RoundEdit"));
}

}  // namespace
