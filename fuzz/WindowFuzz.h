// The window-level fuzzing harness shared by fuzz_window_*.cpp and fuzz_field.cpp: one control
// created in the host's parent window from the input (mask, prompt, insert mode, auto-tab,
// text limit), then a sequence of steps through the host loop (keys with Shift/Ctrl,
// characters of every byte 1-255, WM_SETTEXT with foreign text, cut/copy/paste/clear with
// random clipboard contents and injected clipboard or memory failures, focus, clicks, and
// host calls), or, for a model fuzzer, direct calls of the model operations. After every step:
//  - the window text is the control's rendering of its model (ShowMask), when it has a mask;
//  - the caret and the selection lie inside the text;
//  - every literal keeps its character and the raw data keeps its length (until the mask
//    changes);
//  - every EN_CHANGE came right after an EN_UPDATE of the same control;
//  - the caret is not left hidden (an edit hides it while it rewrites the window).
// Only the control is destroyed at the end: the parent lives for the whole process.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "FuzzCheck.h"
#include "field/KwFieldMaskedEdit.h"
#include "host/KwHost.h"
#include "host/ModelProbe.h"
#include "platform/probe.h"

namespace kwfuzz {

constexpr int kId = 1;

// Puts size bytes on the clipboard as CF_TEXT, with or without a terminating NUL.
inline void RawClipboard(const std::string& bytes, bool terminate) {
  if (!::OpenClipboard(kwhost::DialogWindow())) return;
  ::EmptyClipboard();
  const std::size_t n = bytes.size() + (terminate ? 1 : 0);
  HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, n == 0 ? 1 : n);
  if (h != nullptr) {
    if (void* p = ::GlobalLock(h)) {
      std::memcpy(p, bytes.data(), bytes.size());
      if (terminate) static_cast<char*>(p)[bytes.size()] = '\0';
      ::GlobalUnlock(h);
      if (::SetClipboardData(CF_TEXT, h) == nullptr) ::GlobalFree(h);
    } else {
      ::GlobalFree(h);
    }
  }
  ::CloseClipboard();
}

// Mostly a short text of any bytes; one time in 16 a run of one byte up to `longest` long.
inline std::string Text(FuzzedDataProvider& in, std::size_t max, std::size_t longest = 70000) {
  if (in.ConsumeIntegralInRange<int>(0, 15) == 0)
    return std::string(in.ConsumeIntegralInRange<std::size_t>(0, longest),
                       static_cast<char>(in.ConsumeIntegralInRange<int>(1, 255)));
  return in.ConsumeRandomLengthString(max);
}

template <class Control>
class WindowFuzz {
 public:
  struct Probe : kwhost::ModelProbe<Control> {
    using kwhost::ModelProbe<Control>::Update;  // writes the model into the window
  };
  using MaskMaker = std::string (*)(FuzzedDataProvider&);

  WindowFuzz(FuzzedDataProvider& in, MaskMaker mask, bool modelOnly)
      : m_in(in), m_mask(mask), m_modelOnly(modelOnly) {}

  void Run() {
    Probe edit;
    m_edit = &edit;
    if (m_in.ConsumeBool()) PromptFrom(m_in.ConsumeIntegral<uint8_t>());
    edit.SetInsertMode(m_in.ConsumeBool());
    edit.SetAutoTab(m_in.ConsumeBool());
    const bool before = m_in.ConsumeBool();
    const std::string mask = m_mask(m_in);
    if (before) edit.SetMask(mask);
    KW_FUZZ_CHECK(edit.Create(kwhost::kEditStyle, kwhost::EditRect(kId), kwhost::ParentWnd(), kId),
                  "Create failed");
    m_hwnd = edit.GetSafeHwnd();
    if (m_in.ConsumeBool())
      ::SendMessageA(m_hwnd, EM_LIMITTEXT, m_in.ConsumeIntegralInRange<int>(0, 64), 0);
    if (!before) edit.SetMask(mask);
    kwhost::ClearNotifications();
    Remember();
    Check("start");
    int steps = 0;
    while (m_in.remaining_bytes() > 0 && steps++ < 48) {
      const int op = m_modelOnly ? ModelStep() : WindowStep();
      Check(op);
    }
    kwhost::ReleaseModifiers();
    edit.DestroyWindow();
    kwhost::Pump();
    m_edit = nullptr;
  }

 private:
  void PromptFrom(uint8_t c) {
    if constexpr (HasPrompt<Control>(0)) m_edit->SetPromptSymbol(static_cast<char>(c));
  }
  template <class C>
  static constexpr auto HasPrompt(int) -> decltype(std::declval<C&>().SetPromptSymbol('x'), true) {
    return true;
  }
  template <class C>
  static constexpr bool HasPrompt(...) {
    return false;
  }

  // What the present mask fixes: the literals of the shown text and the raw data's length.
  void Remember() {
    m_literals = m_edit->ShowMask();
    m_dataLength = m_edit->GetInputData(true).size();
  }

  int ModelStep() {
    const int n = static_cast<int>(m_edit->ShowMask().size());
    const int op = m_in.ConsumeIntegralInRange<int>(0, 7);
    auto pos = [&] { return m_in.ConsumeIntegralInRange<int>(-2, n + 2); };
    switch (op) {
      case 0:
        m_edit->SetInputData(Text(m_in, 48, LongestText()).c_str(),
                             m_in.ConsumeIntegralInRange<int>(-1, n + 1), m_in.ConsumeBool());
        break;
      case 1: {
        const int p = pos();
        const int r =
            m_edit->InsertAt(p, static_cast<char>(m_in.ConsumeIntegralInRange<int>(1, 255)));
        KW_FUZZ_CHECK(r >= -1 && r <= n + 1, "InsertAt(%d) answered %d", p, r);
        break;
      }
      case 2: {
        const int p = pos();
        const int r = m_edit->SetAt(p, static_cast<char>(m_in.ConsumeIntegralInRange<int>(1, 255)));
        KW_FUZZ_CHECK(r == -1 || r == p, "SetAt(%d) answered %d", p, r);
        break;
      }
      case 3: {
        const int a = pos(), b = pos();
        const int r = m_edit->DeleteRange(a, b);
        // The field answers end - start even for a reversed or negative range (DeleteRange(2, 0)
        // answers -2): its answer is left unchecked.
        KW_FUZZ_CHECK(IsField() || (r >= 0 && r <= n), "DeleteRange(%d, %d) answered %d", a, b, r);
        break;
      }
      case 4: {
        const int p = pos();
        const int next = m_edit->GetNextInputLocation(p),
                  prev = m_edit->GetPreviousInputLocation(p),
                  empty = m_edit->GetEmptyInputLocation(p);
        // A field's positions run to its text limit, past its shown text; a full one has no empty
        // one (-1).
        const int m = IsField() ? 0x7FFFFFFF : n;
        KW_FUZZ_CHECK(next >= 0 && next <= m && prev >= 0 && prev <= m &&
                          empty >= (IsField() ? -1 : 0) && empty <= m,
                      "locations of %d: next %d, previous %d, empty %d of %d", p, next, prev, empty,
                      n);
        break;
      }
      case 5: {
        const std::string data = m_edit->GetInputData(true);
        m_edit->SetInputData(data.c_str(), 0, 1);
        KW_FUZZ_CHECK(m_edit->GetInputData(true) == data, "the data '%s' came back as '%s'",
                      Show(data).c_str(), Show(m_edit->GetInputData(true)).c_str());
        break;
      }
      case 6:
        m_edit->EmptyData(1);
        break;
      default:
        HostStep();
        break;
    }
    m_edit->Update(-1);
    return op;
  }

  int WindowStep() {
    static const UINT kKeys[] = {VK_LEFT, VK_RIGHT,  VK_HOME, VK_END,  VK_DELETE,
                                 VK_BACK, VK_INSERT, VK_UP,   VK_DOWN, 'A',
                                 'C',     'V',       'X',     'Z',     VK_RETURN};
    const int op = m_in.ConsumeIntegralInRange<int>(0, 12);
    switch (op) {
      case 0:
      case 1: {
        const UINT vk =
            kKeys[m_in.ConsumeIntegralInRange<std::size_t>(0, sizeof kKeys / sizeof kKeys[0] - 1)];
        const bool shift = m_in.ConsumeBool(), ctrl = m_in.ConsumeBool();
        kwhost::Press(vk, shift, ctrl);
        break;
      }
      case 2:
      case 3:  // a character, any byte but NUL, as a keyboard layout may deliver it
        ::SendMessageA(m_hwnd, WM_CHAR, m_in.ConsumeIntegralInRange<int>(1, 255), 1);
        kwhost::Pump();
        break;
      case 4: {  // foreign text from outside: NULL, empty, short or long
        const int kind = m_in.ConsumeIntegralInRange<int>(0, 3);
        const std::string text =
            kind == 2 ? Text(m_in, 64) : std::string(kind == 3 ? 5000 : 0, '7');
        ::SendMessageA(m_hwnd, WM_SETTEXT, 0,
                       kind == 0 ? 0 : reinterpret_cast<LPARAM>(text.c_str()));
        break;
      }
      case 5: {  // the clipboard: text, a block without NUL, or nothing
        const int kind = m_in.ConsumeIntegralInRange<int>(0, 2);
        if (kind == 2)
          kwhost::EmptyClipboardNow();
        else
          RawClipboard(Text(m_in, 64), kind == 0);
        break;
      }
      case 6: {  // a clipboard message, perhaps with a failure injected
        static const UINT kMessages[] = {WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR, EM_UNDO};
        const UINT msg = kMessages[m_in.ConsumeIntegralInRange<int>(0, 4)];
        switch (m_in.ConsumeIntegralInRange<int>(0, 5)) {
          case 0:
            kwinspect::FailNextOpenClipboard();
            break;
          case 1:
            kwinspect::FailNextGlobalAlloc();
            break;
          case 2:
            kwinspect::FailNextGlobalLock();
            break;
          default:
            break;
        }
        ::SendMessageA(m_hwnd, msg, 0, 0);
        kwhost::Pump();
        break;
      }
      case 7:
        kwhost::Focus(m_in.ConsumeBool() ? m_hwnd : kwhost::Parent());
        break;
      case 8: {
        const int at = m_in.ConsumeIntegralInRange<int>(0, 70);
        if (m_in.ConsumeBool())
          kwhost::Click(m_hwnd, at);
        else
          kwhost::DoubleClick(m_hwnd, at);
        break;
      }
      case 9:
        kwhost::SetSel(m_hwnd, m_in.ConsumeIntegralInRange<int>(-1, 70),
                       m_in.ConsumeIntegralInRange<int>(-1, 70));
        break;
      case 10: {  // undo, then redo: back to the very text the edit left
        if (!m_edit->CanUndo()) break;
        const std::string before = kwhost::Text(m_hwnd);
        KW_FUZZ_CHECK(m_edit->Undo() && m_edit->CanRedo(), "an undo with steps to undo failed");
        Check("undo");
        KW_FUZZ_CHECK(m_edit->Redo(), "a redo after an undo failed");
        const std::string again = kwhost::Text(m_hwnd);
        if (again != before) {
          // A text the model reads back otherwise (a number showing a typed prompt): the
          // history must at least be stable, a second round giving the same text.
          KW_FUZZ_CHECK(m_edit->Undo() && m_edit->Redo() && kwhost::Text(m_hwnd) == again,
                        "undo and redo gave '%s' for '%s', then '%s'", Show(again).c_str(),
                        Show(before).c_str(), Show(kwhost::Text(m_hwnd)).c_str());
        }
        break;
      }
      default:
        HostStep();
        break;
    }
    return op;
  }

  void HostStep() {
    switch (m_in.ConsumeIntegralInRange<int>(0, 4)) {
      case 0:
        m_edit->SetMask(m_mask(m_in));
        Remember();
        break;
      case 1:
        PromptFrom(m_in.ConsumeIntegral<uint8_t>());
        Remember();
        break;
      case 2:
        m_edit->SetInsertMode(m_in.ConsumeBool());
        break;
      case 3:
        m_edit->EmptyData(m_in.ConsumeBool());
        Remember();
        break;
      default:
        m_edit->SetText(Text(m_in, 64, LongestText()));
        break;
    }
    kwhost::Pump();
  }

  void Check(int op) {
    char what[16];
    std::snprintf(what, sizeof what, "op %d", op);
    Check(what);
  }
  void Check(const char* what) {
    const std::string shown = m_edit->ShowMask();
    const std::string text = kwhost::Text(m_hwnd);
    if (Tracing())
      std::fprintf(stderr, "%s: text '%s' sel %d-%d\n", what, Show(text).c_str(),
                   kwhost::Sel(m_hwnd).first, kwhost::Sel(m_hwnd).second);
    // Without a mask the control is a plain edit control: its text is its own.
    KW_FUZZ_CHECK(text == shown || m_edit->GetMask().empty(),
                  "after %s the window shows '%s', the model '%s'", what, Show(text).c_str(),
                  Show(shown).c_str());
    const auto sel = kwhost::Sel(m_hwnd);
    const int n = static_cast<int>(text.size());
    KW_FUZZ_CHECK(sel.first >= 0 && sel.first <= sel.second && sel.second <= n,
                  "after %s the selection %d-%d of '%s'", what, sel.first, sel.second,
                  Show(text).c_str());
    if (!m_edit->GetMask().empty() && shown.size() == m_literals.size()) {
      for (int i = 0; i < static_cast<int>(shown.size()); ++i)
        if (m_edit->IsInputData(i) == 0)
          KW_FUZZ_CHECK(shown[i] == m_literals[i], "after %s the literal at %d: '%s' was '%s'",
                        what, i, Show(shown).c_str(), Show(m_literals).c_str());
    }
    const std::string data = m_edit->GetInputData(true);
    KW_FUZZ_CHECK(
        data.size() == m_dataLength || m_dataLength == 0 || IsField() || m_edit->GetMask().empty(),
        "after %s the data '%s' has %zu of %zu characters", what, Show(data).c_str(), data.size(),
        m_dataLength);
    KW_FUZZ_CHECK(m_edit->GetInputData(false).size() <= data.size(),
                  "after %s the packed data is longer than '%s'", what, Show(data).c_str());
    bool hidden = false;
    kwinspect::CaretWindow(&hidden);
    KW_FUZZ_CHECK(!hidden, "after %s the caret is left hidden", what);
    const std::vector<UINT> codes = kwhost::ChangeCodesFor(kId);
    for (std::size_t i = 0; i < codes.size(); ++i)
      if (codes[i] == EN_CHANGE)
        KW_FUZZ_CHECK(i > 0 && codes[i - 1] == EN_UPDATE, "after %s the notifications %s", what,
                      kwhost::Describe(codes).c_str());
    kwhost::ClearNotifications();
  }

  // Through the window, runs past 65535 characters; in the model alone, past 255 but short:
  // the fuzzer favours long texts (their loops count as new coverage), every later step of the
  // model is then linear in them, and the megabyte texts are the hostile-input tables' part.
  std::size_t LongestText() const { return m_modelOnly ? 600 : 70000; }

  static constexpr bool IsField() { return std::is_same<Control, KwFieldMaskedEdit>::value; }

  FuzzedDataProvider& m_in;
  MaskMaker m_mask;
  bool m_modelOnly;
  Probe* m_edit = nullptr;
  HWND m_hwnd = nullptr;
  std::string m_literals;
  std::size_t m_dataLength = 0;
};

}  // namespace kwfuzz
