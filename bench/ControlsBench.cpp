// Benchmarks of what a user of the controls feels: keystrokes through the whole road of a host's
// message loop over the simulated window system, the data exchange of each control's model, a
// long character mask, and the validator's template matcher.
//
// Keys go in as a user's would: SendInput puts them into the queue, and the local host loop
// takes them out along PeekMessageA -> AfxPreTranslateMessage -> IsDialogMessageA ->
// TranslateMessage -> DispatchMessageA. Besides time, each benchmark reports the heap
// allocations it makes (a counting operator new in this binary), per keystroke or per call.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CountingNew.h"
#include "character/KwCharacterMaskedEdit.h"
#include "core/KwValidator.h"
#include "field/KwFieldMaskedEdit.h"
#include "framework/framework.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

// Allocations made between construction and Report, per unit of work (keystroke or call).
class AllocationMeter {
 public:
  AllocationMeter() : m_start(kwbench::Allocations()) {}
  void Report(benchmark::State& state, const char* name, double unitsPerIteration) const {
    const double made = static_cast<double>(kwbench::Allocations() - m_start);
    const double units = unitsPerIteration * static_cast<double>(state.iterations());
    state.counters[name] = units > 0 ? made / units : 0.0;
  }

 private:
  long long m_start;
};

// Time per unit of work (keystroke, call) next to the time per iteration.
void PerUnit(benchmark::State& state, const char* name, double unitsPerIteration) {
  state.counters[name] =
      benchmark::Counter(unitsPerIteration, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// --- A small host --------------------------------------------------------------------------

CWnd* Parent() {
  static CWnd* parent = [] {
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KwBenchParent";
    RegisterClassA(&wc);
    auto* wnd = new CWnd;
    if (!wnd->CreateEx(0, "KwBenchParent", "KwMaskEdit benchmarks", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 480,
                       400, nullptr, nullptr)) {
      std::fprintf(stderr, "bench: cannot create the parent window\n");
      std::abort();
    }
    return wnd;
  }();
  return parent;
}

RECT Row(int id) {
  RECT r;
  r.left = 10;
  r.top = 10 + id * 34;
  r.right = r.left + 240;
  r.bottom = r.top + 26;
  return r;
}

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

// The host's message loop, until the queue is empty.
void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    if (AfxPreTranslateMessage(&msg)) continue;
    if (IsDialogMessageA(Parent()->GetSafeHwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

INPUT Key(WORD vk, bool up) {
  INPUT in;
  std::memset(&in, 0, sizeof in);
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// The key events that type text on a US keyboard (Shift where VkKeyScanA asks for it).
std::vector<INPUT> KeysFor(const std::string& text) {
  std::vector<INPUT> keys;
  for (char ch : text) {
    const SHORT scan = VkKeyScanA(ch);
    if (scan == -1) {
      std::fprintf(stderr, "bench: no key types '%c'\n", ch);
      std::abort();
    }
    const WORD vk = LOBYTE(scan);
    const bool shift = (scan & 0x0100) != 0;
    if (shift) keys.push_back(Key(VK_SHIFT, false));
    keys.push_back(Key(vk, false));
    keys.push_back(Key(vk, true));
    if (shift) keys.push_back(Key(VK_SHIFT, true));
  }
  return keys;
}

// Types the prepared keys one keystroke at a time, each pumped through the loop as it comes.
void TypeKeys(std::vector<INPUT>& keys) {
  for (INPUT& in : keys) {
    SendInput(1, &in, static_cast<int>(sizeof(INPUT)));
    Pump();
  }
}

// Stops the benchmark with an error when what it produced is not what it should be.
bool Expect(benchmark::State& state, const std::string& got, const std::string& expected) {
  if (got == expected) return true;
  const std::string message = "got \"" + got + "\", expected \"" + expected + "\"";
  state.SkipWithError(message.c_str());
  return false;
}

// Opens the protected model operations for the data benchmarks.
class CharModel : public KwCharacterMaskedEdit {
 public:
  using KwCharacterMaskedEdit::KwCharacterMaskedEdit;
  using KwCharacterMaskedEdit::SetInputData;
};
class NumberModel : public KwNumberMaskedEdit {
 public:
  using KwNumberMaskedEdit::KwNumberMaskedEdit;
  using KwNumberMaskedEdit::SetInputData;
};
class FieldModel : public KwFieldMaskedEdit {
 public:
  using KwFieldMaskedEdit::KwFieldMaskedEdit;
  using KwFieldMaskedEdit::SetInputData;
};

class Matcher : public KwValidator {
 public:
  Matcher() : KwValidator(nullptr) {}
  int Validate(std::string&) override { return 0; }
  KwValidator* Clone() override { return new Matcher(*this); }
};

// --- Typing through the message road -------------------------------------------------------

const char kPhoneDigits[] = "5551234567";

void BM_TypePhoneNumber(benchmark::State& state) {
  auto edit = std::make_unique<CharModel>("(###) ###-####");
  edit->SetAutoTab(false);
  edit->Create(kEditStyle, Row(1), Parent(), 1);
  edit->SetFocus();
  Pump();
  // The caret on the first input position, as a click or Tab into the control leaves it.
  edit->SetSel(1, 1);
  std::vector<INPUT> keys = KeysFor(kPhoneDigits);
  AllocationMeter meter;
  long long allocationsInReset = 0;
  for (auto _ : state) {
    TypeKeys(keys);
    state.PauseTiming();
    if (!Expect(state, edit->GetWindowText(), "(555) 123-4567")) break;
    const long long before = kwbench::Allocations();
    edit->EmptyData(1);
    edit->SetSel(1, 1);
    allocationsInReset += kwbench::Allocations() - before;
    state.ResumeTiming();
  }
  kwbench::Forget(allocationsInReset);
  PerUnit(state, "time/key", 10);
  meter.Report(state, "allocs/key", 10);
}
BENCHMARK(BM_TypePhoneNumber)->Unit(benchmark::kMicrosecond);

void BM_TypeNumber(benchmark::State& state) {
  auto edit = std::make_unique<KwNumberMaskedEdit>("%");
  edit->Create(kEditStyle, Row(2), Parent(), 2);
  edit->SetFocus();
  Pump();
  const std::string typed = "1234567.89";
  std::vector<INPUT> keys = KeysFor(typed);
  AllocationMeter meter;
  long long allocationsInReset = 0;
  for (auto _ : state) {
    TypeKeys(keys);
    state.PauseTiming();
    if (!Expect(state, edit->GetInputData(false), typed)) break;
    const long long before = kwbench::Allocations();
    edit->SetText("");
    edit->SetSel(0, 0);
    allocationsInReset += kwbench::Allocations() - before;
    state.ResumeTiming();
  }
  kwbench::Forget(allocationsInReset);
  PerUnit(state, "time/key", static_cast<double>(typed.size()));
  meter.Report(state, "allocs/key", static_cast<double>(typed.size()));
}
BENCHMARK(BM_TypeNumber)->Unit(benchmark::kMicrosecond);

// Three fields with auto-tab (letters 3, digits 4, digits 4) and a plain edit control after
// them: the whole entry typed in one go, the focus moving on twice and leaving the row.
void BM_TypeFieldRow(benchmark::State& state) {
  struct FieldKind {
    const char* mask;
    UINT limit;
  };
  const FieldKind kinds[] = {{">", 3}, {"#", 4}, {"#", 4}};
  std::vector<std::unique_ptr<KwFieldMaskedEdit>> fields;
  int id = 3;
  for (const FieldKind& s : kinds) {
    fields.push_back(std::make_unique<KwFieldMaskedEdit>(s.mask));
    fields.back()->SetAutoTab(true);
    fields.back()->Create(kEditStyle, Row(id), Parent(), static_cast<UINT>(id));
    fields.back()->SetLimitText(s.limit);
    ++id;
  }
  CEdit next;
  next.Create(kEditStyle, Row(id), Parent(), static_cast<UINT>(id));
  const std::string typed = "abc20260042";
  std::vector<INPUT> keys = KeysFor(typed);
  fields.front()->SetFocus();
  Pump();
  AllocationMeter meter;
  long long allocationsInReset = 0;
  for (auto _ : state) {
    TypeKeys(keys);
    state.PauseTiming();
    if (!Expect(state, fields[0]->GetWindowText() + fields[1]->GetWindowText() + fields[2]->GetWindowText(),
                "ABC20260042") ||
        !Expect(state, GetFocus() == next.GetSafeHwnd() ? "left the row" : "in the row", "left the row"))
      break;
    const long long before = kwbench::Allocations();
    for (auto& f : fields) f->EmptyData(1);
    fields.front()->SetFocus();
    Pump();
    allocationsInReset += kwbench::Allocations() - before;
    state.ResumeTiming();
  }
  kwbench::Forget(allocationsInReset);
  PerUnit(state, "time/key", static_cast<double>(typed.size()));
  meter.Report(state, "allocs/key", static_cast<double>(typed.size()));
}
BENCHMARK(BM_TypeFieldRow)->Unit(benchmark::kMicrosecond);

// --- The models' data exchange (no window) -------------------------------------------------

void BM_CharacterSetGetData(benchmark::State& state) {
  CharModel edit("(###) ###-####");
  AllocationMeter meter;
  for (auto _ : state) {
    edit.SetInputData(kPhoneDigits, 0, 0);
    std::string data = edit.GetInputData(false);
    benchmark::DoNotOptimize(data);
  }
  meter.Report(state, "allocs/call", 1);
}
BENCHMARK(BM_CharacterSetGetData);

void BM_NumberSetGetData(benchmark::State& state) {
  NumberModel edit("%");
  AllocationMeter meter;
  for (auto _ : state) {
    edit.SetInputData("-1234567.89", 0, 0);
    std::string data = edit.GetInputData(false);
    benchmark::DoNotOptimize(data);
  }
  meter.Report(state, "allocs/call", 1);
}
BENCHMARK(BM_NumberSetGetData);

void BM_FieldSetGetData(benchmark::State& state) {
  FieldModel edit(">");
  AllocationMeter meter;
  for (auto _ : state) {
    edit.SetInputData("abcdefghij", 0, 0);
    std::string data = edit.ShowMask();
    benchmark::DoNotOptimize(data);
  }
  meter.Report(state, "allocs/call", 1);
}
BENCHMARK(BM_FieldSetGetData);

// --- A long character mask -------------------------------------------------------------------

std::string LongMask(std::size_t length) {
  const std::string unit = "(###) \\#AA-?>/<&:,.";  // every kind, an escape among them
  std::string mask;
  while (mask.size() < length) mask += unit;
  mask.resize(length);
  if (mask.back() == '\\') mask.back() = '#';
  return mask;
}

void BM_SetLongMask(benchmark::State& state) {
  const std::string mask = LongMask(static_cast<std::size_t>(state.range(0)));
  CharModel edit;
  AllocationMeter meter;
  for (auto _ : state) {
    edit.SetMask(mask);
    benchmark::ClobberMemory();
  }
  meter.Report(state, "allocs/call", 1);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SetLongMask)->Arg(14)->Arg(1000)->Unit(benchmark::kMicrosecond);

// SetInputData and GetInputData over a 1000-character mask.
void BM_LongMaskSetGetData(benchmark::State& state) {
  CharModel edit;
  edit.SetMask(LongMask(1000));
  const std::string data(1000, '7');
  AllocationMeter meter;
  for (auto _ : state) {
    edit.SetInputData(data.c_str(), 0, 0);
    std::string got = edit.GetInputData(true);
    benchmark::DoNotOptimize(got);
  }
  meter.Report(state, "allocs/call", 1);
}
BENCHMARK(BM_LongMaskSetGetData)->Unit(benchmark::kMicrosecond);

// --- The template matcher ------------------------------------------------------------------

void RunMatcher(benchmark::State& state, const std::string& data, const std::string& tmpl, int expected) {
  Matcher matcher;
  AllocationMeter meter;
  for (auto _ : state) {
    std::string d = data;
    const int r = matcher.IsErrMatchTemplate(d, tmpl.c_str());
    if (r != expected) state.SkipWithError("unexpected match result");
    benchmark::DoNotOptimize(d);
  }
  meter.Report(state, "allocs/call", 1);
}

void BM_MatchPhone(benchmark::State& state) { RunMatcher(state, "555 123 4567", "999-999-9999", 0); }
BENCHMARK(BM_MatchPhone);

void BM_MatchDate(benchmark::State& state) { RunMatcher(state, "2026/12/06", "9999-99-99", 0); }
BENCHMARK(BM_MatchDate);

// A matching text as long as the matcher reads a template (254 positions).
void BM_MatchLong254(benchmark::State& state) {
  std::string tmpl, data;
  for (int i = 0; i < 254; ++i) {
    tmpl += (i % 5 == 4) ? '-' : (i % 2 ? 'A' : '9');
    data += (i % 5 == 4) ? '-' : (i % 2 ? 'q' : '3');
  }
  RunMatcher(state, data, tmpl, 0);
}
BENCHMARK(BM_MatchLong254);

// The longest data the matcher works on (999 characters) against a short template: a mismatch.
void BM_MatchLongDataMismatch(benchmark::State& state) {
  RunMatcher(state, std::string(999, '7'), "999-999-9999", 11);
}
BENCHMARK(BM_MatchLongDataMismatch);

}  // namespace

BENCHMARK_MAIN();
