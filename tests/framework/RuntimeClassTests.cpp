// Run-time class records along a class chain, and the extension-module class registry.
#include <gtest/gtest.h>

#include <string>
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

class MadeEdit : public CEdit {
  DECLARE_DYNCREATE(MadeEdit)
};
IMPLEMENT_DYNCREATE(MadeEdit, CEdit)

struct KindCase {
  const char* name;
  const CObject* object;
  const CRuntimeClass* cls;
  bool expected;
};

TEST(RuntimeClass, IsKindOfFollowsTheBaseChainOnly) {
  const RoundEdit round;
  const SquareEdit square;
  const CEdit edit;
  const CBrush brush;
  const KindCase cases[] = {
      {"round is RoundEdit", &round, RUNTIME_CLASS(RoundEdit), true},
      {"round is ShapeEdit", &round, RUNTIME_CLASS(ShapeEdit), true},
      {"round is CEdit", &round, RUNTIME_CLASS(CEdit), true},
      {"round is CWnd", &round, RUNTIME_CLASS(CWnd), true},
      {"round is CObject", &round, RUNTIME_CLASS(CObject), true},
      {"round is not its sibling", &round, RUNTIME_CLASS(SquareEdit), false},
      {"square is not its sibling", &square, RUNTIME_CLASS(RoundEdit), false},
      {"a base is not its derived class", &edit, RUNTIME_CLASS(ShapeEdit), false},
      {"an edit is not a GDI object", &edit, RUNTIME_CLASS(CGdiObject), false},
      {"a brush is a GDI object", &brush, RUNTIME_CLASS(CGdiObject), true},
      {"a brush is not a window", &brush, RUNTIME_CLASS(CWnd), false},
      {"nothing is of a null class", &round, nullptr, false},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, c.object->IsKindOf(c.cls) != FALSE);
  }
}

TEST(RuntimeClass, RecordsCarryNameSizeSchemaAndBase) {
  const RoundEdit round;
  const CObject& asObject = round;
  const CRuntimeClass* cls = asObject.GetRuntimeClass();
  ASSERT_EQ(RUNTIME_CLASS(RoundEdit), cls);
  EXPECT_STREQ("RoundEdit", cls->m_lpszClassName);
  EXPECT_EQ(static_cast<int>(sizeof(RoundEdit)), cls->m_nObjectSize);
  EXPECT_EQ(0xFFFFu, cls->m_wSchema);
  EXPECT_EQ(nullptr, cls->CreateObject());  // dynamic, not dynamically creatable

  std::vector<std::string> chain;
  for (const CRuntimeClass* p = cls; p != nullptr; p = p->GetBaseClass()) chain.push_back(p->m_lpszClassName);
  EXPECT_EQ((std::vector<std::string>{"RoundEdit", "ShapeEdit", "CEdit", "CWnd", "CObject"}), chain);
}

TEST(RuntimeClass, ARecordOfTheSameNameFromAnotherCopyMatches) {
  // A module linked with its own copy of the framework has its own record for CEdit.
  static const CRuntimeClass otherCEdit = {"CEdit", 0, 0xFFFF, nullptr, nullptr, nullptr};
  const RoundEdit round;
  EXPECT_TRUE(round.IsKindOf(&otherCEdit));
}

TEST(RuntimeClass, ADynCreateRecordMakesObjectsOfItsClass) {
  const CRuntimeClass* cls = RUNTIME_CLASS(MadeEdit);
  ASSERT_NE(nullptr, cls->m_pfnCreateObject);
  CObject* pObject = cls->CreateObject();
  ASSERT_NE(nullptr, pObject);
  EXPECT_EQ(cls, pObject->GetRuntimeClass());
  EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CEdit)));
  EXPECT_EQ(nullptr, static_cast<CWnd*>(pObject)->m_hWnd);
  delete pObject;
}

// --- Extension modules ---------------------------------------------------------------------

HMODULE FakeModule(int n) { return reinterpret_cast<HMODULE>(static_cast<UINT_PTR>(0x10000 * n)); }

class ExtensionModule : public ::testing::Test {
 protected:
  void TearDown() override {
    AfxTermExtensionModule(m_first);
    AfxTermExtensionModule(m_second);
  }
  AFX_EXTENSION_MODULE m_first;
  AFX_EXTENSION_MODULE m_second;
};

TEST_F(ExtensionModule, ALoadedModuleRegistersItsClassesInLoadOrder) {
  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(ShapeEdit), RUNTIME_CLASS(RoundEdit)}));
  new CDynLinkLibrary(m_first);
  ASSERT_TRUE(AfxInitExtensionModule(m_second, FakeModule(2), {RUNTIME_CLASS(SquareEdit)}));
  new CDynLinkLibrary(m_second);

  EXPECT_EQ(RUNTIME_CLASS(RoundEdit), AfxFindRuntimeClass("RoundEdit"));
  EXPECT_EQ(RUNTIME_CLASS(SquareEdit), AfxFindRuntimeClass("SquareEdit"));
  EXPECT_EQ(nullptr, AfxFindRuntimeClass("CircleEdit"));
  EXPECT_EQ(nullptr, AfxFindRuntimeClass(nullptr));
  EXPECT_EQ((std::vector<const CRuntimeClass*>{RUNTIME_CLASS(ShapeEdit), RUNTIME_CLASS(RoundEdit),
                                               RUNTIME_CLASS(SquareEdit)}),
            AfxRegisteredClasses());
}

TEST_F(ExtensionModule, TerminatingAModuleUnregistersOnlyItsClasses) {
  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit)}));
  new CDynLinkLibrary(m_first);
  ASSERT_TRUE(AfxInitExtensionModule(m_second, FakeModule(2), {RUNTIME_CLASS(SquareEdit)}));
  new CDynLinkLibrary(m_second);

  AfxTermExtensionModule(m_first);
  EXPECT_FALSE(m_first.bInitialized);
  EXPECT_EQ(nullptr, AfxFindRuntimeClass("RoundEdit"));
  EXPECT_EQ(RUNTIME_CLASS(SquareEdit), AfxFindRuntimeClass("SquareEdit"));

  // Unloaded modules load again.
  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit)}));
  new CDynLinkLibrary(m_first);
  EXPECT_EQ(RUNTIME_CLASS(RoundEdit), AfxFindRuntimeClass("RoundEdit"));
}

TEST_F(ExtensionModule, TerminatingAllFreesEveryChainedLibrary) {
  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit)}));
  new CDynLinkLibrary(m_first);
  ASSERT_TRUE(AfxInitExtensionModule(m_second, FakeModule(2), {RUNTIME_CLASS(SquareEdit)}));
  new CDynLinkLibrary(m_second);
  AfxTermExtensionModule(m_first, TRUE);
  EXPECT_TRUE(AfxRegisteredClasses().empty());
}

TEST_F(ExtensionModule, InitialisationRefusesWhatCannotBeRecorded) {
  EXPECT_FALSE(AfxInitExtensionModule(m_first, nullptr, {RUNTIME_CLASS(RoundEdit)}));
  EXPECT_FALSE(m_first.bInitialized);
  EXPECT_FALSE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit), nullptr}));
  EXPECT_FALSE(m_first.bInitialized);

  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit)}));
  // Once per module: the same module again keeps its first record, another module is refused.
  EXPECT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(SquareEdit)}));
  EXPECT_FALSE(AfxInitExtensionModule(m_first, FakeModule(2), {RUNTIME_CLASS(SquareEdit)}));
  EXPECT_EQ(FakeModule(1), m_first.hModule);
  EXPECT_EQ(std::vector<const CRuntimeClass*>{RUNTIME_CLASS(RoundEdit)}, m_first.classes);
}

TEST_F(ExtensionModule, AnUnchainedModuleIsNotSearched) {
  ASSERT_TRUE(AfxInitExtensionModule(m_first, FakeModule(1), {RUNTIME_CLASS(RoundEdit)}));
  EXPECT_EQ(nullptr, AfxFindRuntimeClass("RoundEdit"));
}

}  // namespace
