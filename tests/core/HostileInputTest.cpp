// Hostile input, one table for the three controls: megabyte masks, pastes and texts, every byte
// as mask, typed character, prompt and clipboard text, and NULL for every text parameter. Each
// gives a defined result (the one the headers state), keeps what was there when it is refused,
// and leaves the window showing the model.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "field/KwFieldMaskedEdit.h"
#include "host/ModelProbe.h"
#include "number/KwNumberMaskedEdit.h"

namespace kwtest {
namespace {

// A megabyte. Under Wine 16 KB: Wine's own edit control takes time quadratic in its
// text (a plain one takes a 16 KB SetWindowText in 0.3 s, 32 KB in 1.0 s, 64 KB in 4.3 s), so a
// megabyte there would take a quarter of an hour; the results are the same at any size.
const std::string& Huge() {
  static const std::string text(OnWine() ? std::size_t{1} << 14 : std::size_t{1} << 20, '7');
  return text;
}

struct Control {
  const char* name;
  char kind;         // 'c', 'n', 'f'
  const char* mask;  // the control's usual mask
  const char* data;  // SetText data it takes
};
void PrintTo(const Control& c, std::ostream* os) { *os << c.name; }

class Hostile : public WindowTest, public ::testing::WithParamInterface<Control> {
 protected:
  KwMaskedEdit& Make(const char* mask) {
    const Control& c = GetParam();
    if (c.kind == 'c') {
      m_edit = std::make_unique<KwCharacterMaskedEdit>(mask);
    } else if (c.kind == 'n') {
      m_edit = std::make_unique<KwNumberMaskedEdit>(mask);
    } else {
      m_edit = std::make_unique<KwFieldMaskedEdit>(mask != nullptr ? mask : "");
    }
    EXPECT_TRUE(m_edit->Create(kEditStyle, EditRect(1), ParentWnd(), 1));
    m_edit->SetLimitText(0);  // as long as the platform allows: the field's limit too
    Focus(m_edit->GetSafeHwnd());
    Pump();
    return *m_edit;
  }
  KwMaskedEdit& MakeWithData() {
    KwMaskedEdit& edit = Make(GetParam().mask);
    edit.SetText(GetParam().data);
    SetSel(edit.GetSafeHwnd(), 0, 0);
    return edit;
  }
  // The window shows the model (a control without a mask shows what it was given).
  void ExpectShown(const char* what) {
    if (m_edit->GetMask().c_str()[0] == '\0') return;
    EXPECT_EQ(Text(m_edit->GetSafeHwnd()), m_edit->ShowMask()) << what;
  }
  void TearDown() override {
    m_edit.reset();
    WindowTest::TearDown();
  }
  std::unique_ptr<KwMaskedEdit> m_edit;
};

TEST_P(Hostile, HugeMaskPasteAndText) {
  const Control& c = GetParam();
  const std::string& kMegabyte = Huge();
  {
    // A mask of a million digit positions (the field and number controls read only its first
    // character, or refuse it).
    KwMaskedEdit& edit = Make(std::string(kMegabyte.size(), '#').c_str());
    ExpectShown("a megabyte mask");
    EXPECT_LE(edit.ShowMask().size(), kMegabyte.size());
    ASSERT_TRUE(SetClipboardText(kMegabyte));
    Keys("{C+v}");
    ExpectShown("a megabyte pasted into a megabyte mask");
    if (c.kind == 'c') {
      EXPECT_EQ(edit.GetInputData(false), kMegabyte);
    }
  }
  KwMaskedEdit& edit = MakeWithData();
  const std::string before = edit.GetInputData(false);
  ASSERT_TRUE(SetClipboardText(kMegabyte));
  SetSel(edit.GetSafeHwnd(), 0, 0);
  Keys("{C+v}");
  ExpectShown("a megabyte paste");
  // What fits is taken; the rest is cut off (a field without a limit takes it all).
  if (c.kind == 'f') {
    EXPECT_EQ(edit.GetInputData(false).size(), kMegabyte.size() + before.size());
  }
  ::SetWindowTextA(edit.GetSafeHwnd(), kMegabyte.c_str());
  ExpectShown("a megabyte WM_SETTEXT");
  EXPECT_LE(edit.GetInputData(true).size(), c.kind == 'f' ? kMegabyte.size() : 64u);
}

TEST_P(Hostile, EveryByteAsMaskDataPromptAndClipboard) {
  const Control& c = GetParam();
  KwMaskedEdit& edit = MakeWithData();
  for (int b = 1; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    SCOPED_TRACE(b);
    // Typed: taken or refused (and then nothing of the data is lost), never a window that
    // shows something else.
    const std::string before = edit.GetInputData(true);
    ::SendMessageA(edit.GetSafeHwnd(), WM_CHAR, static_cast<WPARAM>(b), 1);
    Pump();
    ExpectShown("a typed byte");
    if (edit.GetLastRejection() != KwMaskedEdit::RejectNone) {
      EXPECT_EQ(edit.GetInputData(true), before);
    }
    // Pasted.
    ASSERT_TRUE(SetClipboardText(one));
    ::SendMessageA(edit.GetSafeHwnd(), WM_PASTE, 0, 0);
    ExpectShown("a pasted byte");
    // As the prompt: NUL, CR, LF and DEL are ignored, every other byte is the new prompt.
    if (c.kind != 'f') {
      const std::string mask = edit.GetMask();
      const bool allowed = b != '\r' && b != '\n' && b != 0x7F;
      if (c.kind == 'c') {
        static_cast<KwCharacterMaskedEdit&>(edit).SetPromptSymbol(static_cast<char>(b));
      } else {
        static_cast<KwNumberMaskedEdit&>(edit).SetPromptSymbol(static_cast<char>(b));
      }
      ExpectShown("a prompt byte");
      if (c.kind == 'c') {
        EXPECT_EQ(edit.GetMask(), mask) << "the prompt leaves the mask alone";
      }
      if (!allowed) {
        EXPECT_EQ(edit.ShowMask().find(static_cast<char>(b)), std::string::npos);
      }
    }
    edit.SetText(c.data);
  }
  for (int b = 1; b < 256; ++b) {
    // As the mask: a defined mask whatever the byte, shown at once, typed into without harm.
    const std::string one(1, static_cast<char>(b));
    SCOPED_TRACE(b);
    edit.SetMask(one);
    ExpectShown("a one-byte mask");
    Keys("5a");
    ExpectShown("typing into a one-byte mask");
  }
}

TEST_P(Hostile, NullForEveryTextParameter) {
  const Control& c = GetParam();
  KwMaskedEdit& edit = Make(nullptr);  // NULL is the empty mask
  EXPECT_EQ(edit.GetMask().c_str()[0], '\0');
  edit.SetMask(c.mask);
  edit.SetText(c.data);
  const std::string data = edit.GetInputData(true);
  EXPECT_EQ(edit.GetInputData(nullptr, true), "") << "NULL reads as the empty text";
  EXPECT_EQ(edit.GetInputData(true), data);
  // WM_SETTEXT with NULL is the empty text from outside.
  ::SendMessageA(edit.GetSafeHwnd(), WM_SETTEXT, 0, 0);
  ExpectShown("WM_SETTEXT NULL");
  EXPECT_EQ(edit.GetInputData(false), "");
  TemplateMatcher matcher;
  std::string text = "12";
  EXPECT_EQ(matcher.IsErrMatchTemplate(text, nullptr), 1) << "NULL is the empty template";
  EXPECT_EQ(text, "12");
}

INSTANTIATE_TEST_SUITE_P(
    Controls, Hostile,
    ::testing::Values(Control{"Character", 'c', "(###) ###-####", "5551234567"},
                      Control{"Number", 'n', "%", "1234.5"}, Control{"Field", 'f', "#", "2026"}),
    [](const ::testing::TestParamInfo<Control>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kwtest
