// The window-level fuzzing harness shared by fuzz_window_*.cpp and fuzz_field.cpp: one control
// created in the host's parent window from the input (mask, prompt, insert mode, auto-tab,
// text limit), then a sequence of steps through the host loop (keys with Shift/Ctrl,
// characters of every byte 1-255, UTF-16 units sent as WM_CHAR or typed as characters without
// a key (lone surrogates, pairs whole, digits of other scripts, letters of several scripts, the
// separators U+202F U+00A0 U+2019), WM_SETTEXT and EM_REPLACESEL with foreign text, narrow or wide,
// cut/copy/paste/clear with random clipboard contents (CF_TEXT or CF_UNICODETEXT) and injected
// clipboard or memory failures, focus, clicks, and host calls), or, for a model fuzzer, direct
// calls of the model operations. After every step:
//  - the window text is the control's rendering of its model (ShowMask, and ShowMaskW in UTF-16
//    where the control has it), when it has a mask;
//  - no position holds half a surrogate pair, and neither end of the selection falls between
//    the two halves of one, when it has a mask;
//  - the caret and the selection lie inside the text;
//  - every literal keeps its character and the raw data keeps its length (until the mask
//    changes);
//  - every EN_CHANGE came right after an EN_UPDATE of the same control;
//  - the caret is not left hidden (an edit hides it while it rewrites the window).
// The parent re-enters as a host may: as the input chooses, it reacts to the n-th notification
// of a kind from the control (EN_UPDATE, EN_CHANGE, EN_SETFOCUS, EN_KILLFOCUS, EN_MAXTEXT,
// KWN_REJECTED, or any) by setting a text, a mask or the data, emptying, undoing, validating
// (through a validator of the input's choice, which may delete the control itself), moving the
// focus, or destroying the control: deleting the object, or only its window. A deleted control
// must not be touched afterwards (AddressSanitizer watches) nor speak to the parent again; the
// run then goes on with a fresh control or ends.
// Only the controls are destroyed at the end: the parent lives for the whole process.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "FuzzCheck.h"
#include "WideText.h"
#include "core/KwText.h"
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

// Puts wide text on the clipboard as CF_UNICODETEXT (the system makes CF_TEXT of it).
inline void WideClipboard(const KwWString& text) { kwhost::SetClipboardTextW(text); }

// The model's rendering in UTF-16: the control's own wide member where it has one, else the
// narrow one through the ANSI code page (as an ANSI window holds its text).
template <class C>
auto ShownW(const C& c, int) -> decltype(c.ShowMaskW()) {
  return c.ShowMaskW();
}
template <class C>
KwWString ShownW(const C& c, long) {
  const std::string narrow = c.ShowMask();
  KwWString wide(narrow.size() + 1, WCHAR(0));
  const int n = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()),
                                      &wide[0], static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return wide;
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
    // The other tab stop: where auto-tab and the host's focus moves go.
    const RECT r = kwhost::EditRect(kOther);
    m_other = ::CreateWindowExA(0, "EDIT", "", kwhost::kEditStyle, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, kwhost::Parent(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOther)),
                                ::GetModuleHandleA(nullptr), nullptr);
    if (!m_modelOnly) Hook(this);
    NewControl();
    int steps = 0;
    while (m_in.remaining_bytes() > 0 && steps++ < 48) {
      if (m_edit == nullptr) {
        // Destroyed by the host: the run goes on with a fresh control, or ends.
        if (!m_in.ConsumeBool()) break;
        NewControl();
      }
      const int op = m_modelOnly ? ModelStep() : WindowStep();
      Settle();
      Check(op);
      // A control without a limit grows by up to 70,000 characters a paste. Past kLongest each
      // further step reaches nothing new, and the checks, which read the whole text several
      // times, only make the run slower.
      if (m_edit != nullptr && ::GetWindowTextLengthW(m_hwnd) > kLongest) break;
    }
    m_reaction = Reaction{};
    kwhost::ReleaseModifiers();
    Kill(false);
    if (!m_modelOnly) Hook(nullptr);
    ::DestroyWindow(m_other);
    kwhost::Pump();
  }

 private:
  static constexpr int kOther = 2;
  static constexpr int kLongest = 150000;

  void NewControl() {
    m_reaction = Reaction{};  // what was armed went with the control before
    m_dead = nullptr;
    m_edit = new Probe;
    if (m_in.ConsumeBool()) PromptFrom(m_in.ConsumeIntegral<uint8_t>());
    m_edit->SetInsertMode(m_in.ConsumeBool());
    m_edit->SetAutoTab(m_in.ConsumeBool());
    if (!m_modelOnly) {
      m_edit->SetNotifyRejections(m_in.ConsumeBool());
      m_validator = m_in.ConsumeIntegralInRange<int>(0, 4);
      if (m_validator != 0) m_edit->SetValidator(new Judge(m_edit, this));
    }
    const bool before = m_in.ConsumeBool();
    const std::string mask = m_mask(m_in);
    if (before) m_edit->SetMask(mask);
    KW_FUZZ_CHECK(
        m_edit->Create(kwhost::kEditStyle, kwhost::EditRect(kId), kwhost::ParentWnd(), kId),
        "Create failed");
    m_hwnd = m_edit->GetSafeHwnd();
    if (m_in.ConsumeBool())
      ::SendMessageA(m_hwnd, EM_LIMITTEXT, m_in.ConsumeIntegralInRange<int>(0, 64), 0);
    if (!before) m_edit->SetMask(mask);
    kwhost::ClearNotifications();
    Remember();
    Check("start");
  }

  // The control goes: its object deleted (or, with windowOnly, only its window destroyed; the
  // object is then deleted once the step is over).
  void Kill(bool windowOnly) {
    if (m_edit == nullptr) return;
    if (windowOnly) {
      m_edit->DestroyWindow();
      m_doomed = true;
      return;
    }
    Probe* edit = m_edit;
    m_edit = nullptr;
    m_doomed = false;
    delete edit;
    // What its window said while it was destroyed (EN_KILLFOCUS) lies before this mark.
    m_dead = m_hwnd;
    m_deadNotes = kwhost::Notifications().size();
  }

  // After each step: a control whose window the host destroyed goes too; a mask the host set
  // fixes new literals.
  void Settle() {
    if (m_doomed) Kill(false);
    if (m_remember && m_edit != nullptr) Remember();
    m_remember = false;
  }

  // --- The host's reactions -----------------------------------------------------------------

  struct Reaction {
    UINT code = 0;  // the notification reacted to; 0xFFFF: any of them
    int countdown = 0;
    int what = 0;
    std::string text;
  };

  static WindowFuzz*& Active() {
    static WindowFuzz* active = nullptr;
    return active;
  }
  static WNDPROC& ParentProc() {
    static WNDPROC proc = nullptr;
    return proc;
  }
  static void Hook(WindowFuzz* fuzz) {
    Active() = fuzz;
    const LONG_PTR proc = reinterpret_cast<LONG_PTR>(fuzz != nullptr ? &Reacting : ParentProc());
    const LONG_PTR old = ::SetWindowLongPtrA(kwhost::Parent(), GWLP_WNDPROC, proc);
    if (fuzz != nullptr) ParentProc() = reinterpret_cast<WNDPROC>(old);
  }
  static LRESULT CALLBACK Reacting(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::CallWindowProcA(ParentProc(), hWnd, msg, wParam, lParam);
    WindowFuzz* fuzz = Active();
    if (msg == WM_COMMAND && fuzz != nullptr && LOWORD(wParam) == kId)
      fuzz->Heard(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    return result;
  }

  // Arms a reaction to the countdown-th notification of a kind from now on.
  void Arm() {
    static const UINT kCodes[] = {EN_UPDATE,  EN_CHANGE,    EN_SETFOCUS, EN_KILLFOCUS,
                                  EN_MAXTEXT, KWN_REJECTED, 0xFFFF};
    m_reaction.code = kCodes[m_in.ConsumeIntegralInRange<std::size_t>(0, 6)];
    m_reaction.countdown = m_in.ConsumeIntegralInRange<int>(1, 6);
    m_reaction.what = m_in.ConsumeIntegralInRange<int>(0, 9);
    if (m_reaction.what <= 1) {
      m_reaction.text = Text(m_in, 24, 300);
    } else if (m_reaction.what == 2) {
      m_reaction.text = m_mask(m_in);
    } else {
      m_reaction.text = m_in.ConsumeBool() ? "x" : "";  // EmptyData's keepMask, the focus's goal
    }
  }

  void Heard(UINT code, HWND from) {
    KW_FUZZ_CHECK(
        from != m_dead || m_dead == nullptr || kwhost::Notifications().size() <= m_deadNotes,
        "the deleted control sent %s", kwhost::CodeName(code).c_str());
    if (m_edit == nullptr || from != m_hwnd || m_reaction.countdown == 0) return;
    if (m_reaction.code != 0xFFFF && m_reaction.code != code) return;
    if (--m_reaction.countdown != 0) return;
    React(m_reaction.what, m_reaction.text);
  }

  void React(int what, const std::string& text) {
    if (Tracing()) std::fprintf(stderr, "  the host reacts: %d\n", what);
    m_reacted = true;
    switch (what) {
      case 0:
        ::SetWindowTextA(m_hwnd, text.c_str());
        break;
      case 1:
        m_edit->SetText(text);
        break;
      case 2:
        m_edit->SetMask(text);
        m_remember = true;
        break;
      case 3:
        m_edit->EmptyData(text.empty() ? 1 : 0);
        m_remember = true;
        break;
      case 4:
        m_edit->Undo();
        break;
      case 5:
        m_edit->OnValidate();
        break;
      case 6:
        ::SetFocus(text.empty() ? m_other : kwhost::Parent());
        break;
      case 7:
        Kill(true);
        break;
      default:
        Kill(false);
        break;
    }
  }

  // The validator a control may get: it leaves the data, upper-cases it, halves it, or deletes
  // the control (and so itself).
  class Judge : public KwValidator {
   public:
    Judge(KwMaskedEdit* edit, WindowFuzz* fuzz) : KwValidator(edit), m_fuzz(fuzz) {}
    int Validate(std::string& data) override {
      switch (m_fuzz->m_validator) {
        case 1:
          return 0;
        case 2:
          for (char& c : data) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          return 1;
        case 3:
          data.resize(data.size() / 2);
          return 2;
        default:
          m_fuzz->Kill(false);  // this validator goes with the control: nothing of it is touched
          return 3;
      }
    }
    KwValidator* Clone() override { return new Judge(*this); }

   private:
    WindowFuzz* m_fuzz;
  };

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
    // Mostly the wide members with UTF-16 (WideText.h), one time in four the narrow ones with
    // any byte but NUL.
    const bool narrow = m_in.ConsumeIntegralInRange<int>(0, 3) == 0;
    switch (op) {
      case 0: {
        const int keep = m_in.ConsumeIntegralInRange<int>(-1, n + 1);
        const bool raw = m_in.ConsumeBool();
        if (narrow) {
          m_edit->SetInputData(Text(m_in, 48, LongestText()).c_str(), keep, raw);
        } else {
          m_edit->SetInputDataW(WideText(m_in, 48).c_str(), keep, raw);
        }
        break;
      }
      case 1: {
        const int p = pos();
        const char32_t ch = narrow ? 0 : SomeCharW(m_in, "09az AZ-.", 3);
        const int r = narrow ? m_edit->InsertAt(
                                   p, static_cast<char>(m_in.ConsumeIntegralInRange<int>(1, 255)))
                             : m_edit->InsertAtW(p, ch);
        KW_FUZZ_CHECK(r >= -1 && r <= n + 1, "InsertAt(%d) answered %d", p, r);
        break;
      }
      case 2: {
        const int p = pos();
        const int size = static_cast<int>(m_edit->GetInputDataW(true).size());
        const int r =
            narrow ? m_edit->SetAt(p, static_cast<char>(m_in.ConsumeIntegralInRange<int>(1, 255)))
                   : m_edit->SetAtW(p, SomeCharW(m_in, "09az AZ-.", 3));
        // A field answers where the character went: appended at the end of a shorter text, or
        // over the whole pair whose second half p named.
        const bool fieldPlace = IsField() && r >= 0 && (r == size || r == p - 1) && r < p;
        KW_FUZZ_CHECK(r == -1 || r == p || fieldPlace, "SetAt(%d) answered %d of %d", p, r, size);
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
        const KwWString data = m_edit->GetInputDataW(true);
        m_edit->SetInputDataW(data.c_str(), 0, 1);
        KW_FUZZ_CHECK(m_edit->GetInputDataW(true) == data, "the data '%s' came back as '%s'",
                      ShowW(data).c_str(), ShowW(m_edit->GetInputDataW(true)).c_str());
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
    const int op = m_in.ConsumeIntegralInRange<int>(0, 17);
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
        m_reaction.countdown = 0;  // the host keeps still meanwhile
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
      case 11:
      case 12:
        Arm();
        break;
      case 15: {  // UTF-16 units as WM_CHAR: one (perhaps half a pair), or a pair whole
        KwWString units = m_in.ConsumeBool() ? Pair(m_in) : KwWString(1, Unit(m_in));
        if (m_in.ConsumeIntegralInRange<int>(0, 3) == 0) {
          kwhost::TypeUnits(units);  // through the input queue, as an input method sends them
        } else {
          for (WCHAR u : units) {
            ::SendMessageW(m_hwnd, WM_CHAR, static_cast<WPARAM>(u), 1);
            if (m_edit == nullptr) break;  // the host reacted by deleting the control
          }
          kwhost::Pump();
        }
        break;
      }
      case 16: {  // foreign wide text, as the whole text or in place of the selection
        const KwWString text = WideText(m_in, m_in.ConsumeBool() ? 16 : 200);
        const UINT msg = m_in.ConsumeBool() ? EM_REPLACESEL : WM_SETTEXT;
        ::SendMessageW(m_hwnd, msg, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        break;
      }
      case 17:  // wide text on the clipboard, pasted at once or later
        WideClipboard(WideText(m_in, 40));
        if (m_in.ConsumeBool()) {
          ::SendMessageW(m_hwnd, WM_PASTE, 0, 0);
          kwhost::Pump();
        }
        break;
      default:
        HostStep();
        break;
    }
    return op;
  }

  void HostStep() {
    switch (m_in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0:
        m_edit->SetMask(m_mask(m_in));
        m_remember = true;
        break;
      case 1:
        PromptFrom(m_in.ConsumeIntegral<uint8_t>());
        m_remember = true;
        break;
      case 2:
        m_edit->SetInsertMode(m_in.ConsumeBool());
        break;
      case 3:
        m_edit->EmptyData(m_in.ConsumeBool());
        m_remember = true;
        break;
      case 4: {
        double value = 0;
        if (!m_modelOnly) m_edit->GetDataNumValue(value);
        break;
      }
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
    if (m_edit == nullptr) {
      // Gone: its window with it, and nothing more from it.
      KW_FUZZ_CHECK(!::IsWindow(m_dead), "after %s the deleted control's window lives on", what);
      kwhost::ClearNotifications();
      m_deadNotes = 0;
      return;
    }
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
    // The narrow members read what the wide ones do, through the ANSI code page.
    const KwWString dataW = m_edit->GetInputDataW(true);
    KW_FUZZ_CHECK(data == KwNarrow(dataW) &&
                      m_edit->GetInputData(false) == KwNarrow(m_edit->GetInputDataW(false)),
                  "after %s the narrow data '%s' for the wide '%s'", what, Show(data).c_str(),
                  ShowW(dataW).c_str());
    if (!m_edit->GetMask().empty()) {
      // In UTF-16, as the window holds it: the rendering whole, and never half a pair.
      const KwWString wide = kwhost::TextW(m_hwnd);
      const KwWString shownW = ShownW(*m_edit, 0);
      KW_FUZZ_CHECK(wide == shownW, "after %s the window shows '%s', the model '%s' (UTF-16)", what,
                    ShowW(wide).c_str(), ShowW(shownW).c_str());
      const int half = HalfPairAt(wide);
      KW_FUZZ_CHECK(half < 0, "after %s position %d of '%s' holds half a pair", what, half,
                    ShowW(wide).c_str());
      // The selection itself may split a pair: a host's EM_SETSEL puts it anywhere, and the
      // edit control's arrow keys step by unit. What is typed, cut or pasted there must still
      // never leave half a pair in the text (checked above after the next step).
    }
    bool hidden = false;
    kwinspect::CaretWindow(&hidden);
    KW_FUZZ_CHECK(!hidden, "after %s the caret is left hidden", what);
    const std::vector<UINT> codes = kwhost::ChangeCodesFor(kId);
    if (!m_reacted) {
      for (std::size_t i = 0; i < codes.size(); ++i)
        if (codes[i] == EN_CHANGE)
          KW_FUZZ_CHECK(i > 0 && codes[i - 1] == EN_UPDATE, "after %s the notifications %s", what,
                        kwhost::Describe(codes).c_str());
    } else {
      // The host changed the text from inside a notification: that change's pair nests inside
      // the pair it interrupted, so each EN_CHANGE answers an EN_UPDATE still open before it.
      int open = 0;
      for (UINT code : codes) {
        if (code == EN_UPDATE) ++open;
        if (code == EN_CHANGE)
          KW_FUZZ_CHECK(open-- > 0, "after %s the notifications %s", what,
                        kwhost::Describe(codes).c_str());
      }
    }
    m_reacted = false;
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
  HWND m_other = nullptr;
  HWND m_dead = nullptr;        // the window of the control the host deleted
  std::size_t m_deadNotes = 0;  // the notifications recorded when it was deleted
  bool m_doomed = false;        // its window destroyed: the object goes after the step
  bool m_remember = false;      // the mask or the data changed: remember what it fixes
  bool m_reacted = false;       // the host reacted during this step
  int m_validator = 0;
  Reaction m_reaction;
  std::string m_literals;
  std::size_t m_dataLength = 0;
};

}  // namespace kwfuzz
