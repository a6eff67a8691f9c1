// The number control's own cut, paste and clear through the clipboard and global memory, the
// shared copy, and what failures of the clipboard leave behind.
#include <gtest/gtest.h>

#include <cstring>

#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

using NumberClipboard = NumberControlTest;

bool ClipboardClosed() { return ::GetOpenClipboardWindow() == nullptr; }

// A CF_TEXT block of exactly these bytes, with no terminating NUL.
bool SetClipboardBytes(const std::string& bytes) {
  if (!::OpenClipboard(Parent())) return false;
  ::EmptyClipboard();
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (block == nullptr) {
    ::CloseClipboard();
    return false;
  }
  std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
  ::GlobalUnlock(block);
  const bool set = ::SetClipboardData(CF_TEXT, block) != nullptr;
  ::CloseClipboard();
  return set;
}

struct CutCase {
  const char* name;
  const char* data;
  int start;
  int end;
  const char* onClipboard;  // in the shown form
  const char* left;
  int caret;
};

class NumberCut : public NumberControlTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(NumberCut, PutsTheShownSelectionOnTheClipboardAndDeletesIt) {
  const CutCase& c = GetParam();
  NumberEditProbe& edit = Make(c.data);
  Ready(edit, c.start, c.end);
  {
    CtrlHeld ctrl;
    Press('X');
  }
  EXPECT_EQ(ClipboardText(), Shown(c.onClipboard));
  EXPECT_EQ(TextOf(edit), Shown(c.left));
  EXPECT_EQ(SelOf(edit), Caret(c.caret));
  EXPECT_TRUE(ClipboardClosed());
}

INSTANTIATE_TEST_SUITE_P(Cases, NumberCut,
                         ::testing::Values(CutCase{"AcrossThePoint", "1234.5", 2, 5, "234", "1.5", 1},
                                           CutCase{"WithTheSeparator", "1234.5", 0, 3, "1,2", "34.5", 0},
                                           CutCase{"Everything", "-1234.5", 0, 8, "-1,234.5", "", 0},
                                           CutCase{"FractionDigit", "1.23", 2, 3, "2", "1.3", 3}),
                         [](const ::testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

TEST_F(NumberClipboard, CutWithoutSelectionLeavesTheClipboardAlone) {
  NumberEditProbe& edit = Make("1234.5");
  ASSERT_TRUE(SetClipboardText("keep"));
  Ready(edit, 2);
  edit.SendMessage(WM_CUT);
  EXPECT_EQ(ClipboardText(), "keep");
  EXPECT_EQ(TextOf(edit), Shown("1,234.5"));
}

// The selection goes onto the clipboard first: when the clipboard cannot take it, nothing is
// deleted and the clipboard keeps what it had.
struct FailureCase {
  const char* name;
  void (*fail)();
};

class NumberCutFailure : public NumberControlTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(NumberCutFailure, DeletesNothing) {
  KWTEST_REQUIRE_INSPECT();
  NumberEditProbe& edit = Make("1234.5");
  ASSERT_TRUE(SetClipboardText("keep"));
  Ready(edit, 2, 5);
  GetParam().fail();
  edit.SendMessage(WM_CUT);
  EXPECT_EQ(TextOf(edit), Shown("1,234.5"));
  EXPECT_EQ(edit.GetInputData(false), "1234.5");
  EXPECT_TRUE(ClipboardClosed());
  EXPECT_EQ(ClipboardText(), "keep");
}

INSTANTIATE_TEST_SUITE_P(Failures, NumberCutFailure,
                         ::testing::Values(FailureCase{"OpenClipboard", &kwinspect::FailNextOpenClipboard},
                                           FailureCase{"GlobalAlloc", &kwinspect::FailNextGlobalAlloc},
                                           FailureCase{"GlobalLock", &kwinspect::FailNextGlobalLock}),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

struct PasteCase {
  const char* name;
  const char* before;
  int caret;
  const char* clipboard;
  const char* data;
  const char* shown;
  int caretAfter;
};

class NumberPaste : public NumberControlTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(NumberPaste, ReplacesTheWholeNumber) {
  const PasteCase& c = GetParam();
  NumberEditProbe& edit = Make(c.before);
  ASSERT_TRUE(SetClipboardText(Shown(c.clipboard)));
  Ready(edit, c.caret);
  {
    CtrlHeld ctrl;
    Press('V');
  }
  EXPECT_EQ(edit.GetInputData(false), c.data);
  EXPECT_EQ(TextOf(edit), Shown(c.shown));
  EXPECT_EQ(SelOf(edit), Caret(c.caretAfter));
  EXPECT_TRUE(ClipboardClosed());
  EXPECT_EQ(ClipboardText(), Shown(c.clipboard));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberPaste,
    ::testing::Values(PasteCase{"NotIntoTheMiddle", "99", 1, "12", "12", "12", 2},
                      PasteCase{"ShownFormWithSeparators", "", 0, "1,234.5", "1234.5", "1,234.5", 7},
                      PasteCase{"CurrencySignSkipped", "7", 0, "$12.50", "12.50", "12.50", 5},
                      PasteCase{"CaretOnFirstEmptyDigit", "", 0, "12.5", "12.5", "12.5", 4},
                      PasteCase{"NothingFits", "5", 0, "abc", "", "", 0}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

TEST_F(NumberClipboard, PasteReadsTheBlockOnlyAsFarAsItGoes) {
  NumberEditProbe& edit = Make();
  ASSERT_TRUE(SetClipboardBytes("123"));
  Ready(edit, 0);
  edit.SendMessage(WM_PASTE);
#ifdef _WIN32
  // Under Wine the clipboard converts the text when it is set and takes the block's last byte
  // for its terminator; what the control reads still ends within the block.
  EXPECT_EQ(edit.GetInputData(false), "12");
#else
  EXPECT_EQ(edit.GetInputData(false), "123");
#endif
  EXPECT_TRUE(ClipboardClosed());
}

TEST_F(NumberClipboard, PasteFailuresChangeNothing) {
  NumberEditProbe& edit = Make("99");
  Ready(edit, 0);
  EmptyClipboardNow();
  edit.SendMessage(WM_PASTE);
  EXPECT_EQ(TextOf(edit), "99");

  KWTEST_REQUIRE_INSPECT();

  ASSERT_TRUE(SetClipboardText("12"));
  kwinspect::FailNextOpenClipboard();
  edit.SendMessage(WM_PASTE);
  EXPECT_EQ(TextOf(edit), "99");

  kwinspect::FailNextGlobalLock();
  edit.SendMessage(WM_PASTE);
  EXPECT_EQ(TextOf(edit), "99");
  EXPECT_TRUE(ClipboardClosed());
}

TEST_F(NumberClipboard, CopyPutsTheShownSelectionAndKeepsTheNumber) {
  NumberEditProbe& edit = Make("-1234.5");
  Ready(edit, 0, 4);
  {
    CtrlHeld ctrl;
    Press('C');
  }
  EXPECT_EQ(ClipboardText(), Shown("-1,2"));
  EXPECT_EQ(TextOf(edit), Shown("-1,234.5"));
}

TEST_F(NumberClipboard, ClearDeletesTheSelection) {
  NumberEditProbe& edit = Make("1234.5");
  ASSERT_TRUE(SetClipboardText("keep"));
  Ready(edit, 2, 5);
  EXPECT_EQ(edit.SendMessage(WM_CLEAR), 0);
  EXPECT_EQ(TextOf(edit), Shown("1.5"));
  EXPECT_EQ(SelOf(edit), Caret(1));
  EXPECT_EQ(ClipboardText(), "keep");
  // Without a selection the number is only shown again.
  edit.SendMessage(WM_CLEAR);
  EXPECT_EQ(TextOf(edit), Shown("1.5"));
}

TEST_F(NumberClipboard, WithoutAMaskTheEditControlHandlesTheClipboard) {
  NumberEditProbe& edit = Make("", 1, "");
  ::SetWindowTextA(edit.GetSafeHwnd(), "abc");
  ASSERT_TRUE(SetClipboardText("xy"));
  Ready(edit, 1, 2);
  edit.SendMessage(WM_PASTE);
  EXPECT_EQ(TextOf(edit), "axyc");
  SetSel(edit.GetSafeHwnd(), 0, 1);
  edit.SendMessage(WM_CUT);
  EXPECT_EQ(TextOf(edit), "xyc");
  EXPECT_EQ(ClipboardText(), "a");
  SetSel(edit.GetSafeHwnd(), 0, 1);
  edit.SendMessage(WM_CLEAR);
  EXPECT_EQ(TextOf(edit), "yc");
}

}  // namespace
}  // namespace kwtest
