// The side-by-side benchmark: the cases of the Qt peer benchmark, timed by the program itself
// so that one source runs natively over the simulated window system and, built for Windows,
// under Wine (there is no Google Benchmark for MinGW).
//
// One process is one sample of every figure; tools/bench.sh runs it several times and takes
// medians. Output: one line per figure, "name<TAB>value<TAB>unit", the peer benchmark's format.
//
// A keystroke is a key press and its release through the host-support library's message loop
// (kwhost::Pump: PeekMessageA -> AfxPreTranslateMessage -> IsDialogMessageA -> TranslateMessage
// -> DispatchMessageA), with the painting that the loop hands out when the queue runs dry, and
// the host's parent writing down every notification. Natively the keys go in as kwhost::Press
// sends them, SendInput through the simulated input queue. Under Wine they are posted to the
// focus window instead: real input travels through the window server and the host waits for it,
// costs that neither the masked nor the plain control has and that would only blur the
// masked / plain ratio.
//
//   kw_keys [--scale F] [--only LETTERS]
//   groups: a phone mask, b plain edit, n number, c full field of n positions (mid-field
//           keystroke, insert mode, set text, plain edit floor), m memory per mask position,
//           p pastes of 0.25, 0.5, 1 and 2 MB
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CountingNew.h"
#include "character/KwCharacterMaskedEdit.h"
#include "field/KwFieldMaskedEdit.h"
#include "framework/framework.h"
#include "host/KwHost.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

using Clock = std::chrono::steady_clock;

long long NsSince(Clock::time_point t0) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - t0).count();
}

void Report(const char* name, double value, const char* unit) {
  std::printf("%s\t%.2f\t%s\n", name, value, unit);
  std::fflush(stdout);
}

[[noreturn]] void Fail(const char* what, const std::string& got) {
  std::fprintf(stderr, "CHECK FAILED: %s (got '%.60s')\n", what, got.c_str());
  std::exit(2);
}

double g_scale = 1.0;
long Iterations(long base) {
  const long n = static_cast<long>(static_cast<double>(base) * g_scale);
  return n < 10 ? 10 : n;
}

// --- The host ------------------------------------------------------------------------------
// The host-support library's parent window (it writes down every notification, as a host's
// dialog would look at them) and message loop.

CWnd* Parent() { return kwhost::ParentWnd(); }

constexpr DWORD kEditStyle = kwhost::kEditStyle;
const RECT kRow = {10, 10, 250, 36};

// The untimed work between measurements also forgets the notifications written down.
void Pump() {
  kwhost::Pump();
  kwhost::ClearNotifications();
}

// One keystroke: the key pressed and released, pumped.
void Press(WORD vk, bool ctrl = false) {
#ifdef _WIN32
  (void)ctrl;  // the posted road has no key state: no Ctrl cases under Wine
  PostMessageA(GetFocus(), WM_KEYDOWN, vk, 1);
  PostMessageA(GetFocus(), WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  kwhost::Pump();
#else
  kwhost::Press(vk, false, ctrl);
#endif
}

void TypeDigit(char digit) { Press(static_cast<WORD>(digit)); }

// Opens the model operations for the memory figures.
class CharModel : public KwCharacterMaskedEdit {
 public:
  using KwCharacterMaskedEdit::KwCharacterMaskedEdit;
};

// --- (a, b, n) Typing a short entry ----------------------------------------------------------

struct Typing {
  double nsPerKey;
  double allocsPerKey;
};

// Types `keys` `rounds` times into the focused control; clear() (untimed, its allocations left
// out) empties it between rounds and check() looks at the result of the first.
template <typename Clear, typename Check>
Typing TypeRounds(const char* keys, long rounds, Clear clear, Check check) {
  const std::size_t n = std::strlen(keys);
  clear();
  for (std::size_t i = 0; i < n; ++i) TypeDigit(keys[i]);
  check();
  clear();
  long long ns = 0;
  long long allocations = 0;
  for (long r = 0; r < rounds; ++r) {
    const long long before = kwbench::Allocations();
    const auto t0 = Clock::now();
    for (std::size_t i = 0; i < n; ++i) TypeDigit(keys[i]);
    ns += NsSince(t0);
    allocations += kwbench::Allocations() - before;
    clear();
  }
  const double keysTyped = static_cast<double>(rounds) * static_cast<double>(n);
  return {static_cast<double>(ns) / keysTyped, static_cast<double>(allocations) / keysTyped};
}

void PhoneMask() {
  CharModel edit("(###) ###-####");
  edit.Create(kEditStyle, kRow, Parent(), 1);
  edit.SetFocus();
  Pump();
  const Typing t = TypeRounds(
      "5551234567", Iterations(10000),
      [&] {
        edit.EmptyData(1);
        edit.SetSel(1, 1);  // the caret on the first input position, as a click leaves it
        Pump();
      },
      [&] {
        if (edit.GetWindowText() != "(555) 123-4567") Fail("phone typing", edit.GetWindowText());
      });
  Report("a_masked_key_ns", t.nsPerKey, "ns/keystroke");
  Report("a_masked_key_allocs", t.allocsPerKey, "allocs/keystroke");
}

void PlainEdit() {
  CEdit edit;
  edit.Create(kEditStyle, kRow, Parent(), 2);
  edit.SetFocus();
  Pump();
  const Typing t = TypeRounds(
      "5551234567", Iterations(10000),
      [&] {
        edit.SetWindowText("");
        Pump();
      },
      [&] {
        if (edit.GetWindowText() != "5551234567") Fail("plain typing", edit.GetWindowText());
      });
  Report("b_plain_key_ns", t.nsPerKey, "ns/keystroke");
  Report("b_plain_key_allocs", t.allocsPerKey, "allocs/keystroke");
}

void NumberControl() {
  KwNumberMaskedEdit edit("%");
  edit.Create(kEditStyle, kRow, Parent(), 3);
  edit.SetFocus();
  Pump();
  const Typing t = TypeRounds(
      "1234567", Iterations(10000),
      [&] {
        edit.SetText("");
        edit.SetSel(0, 0);
        Pump();
      },
      [&] {
        if (edit.GetInputData(false) != "1234567") Fail("number typing", edit.GetInputData(false));
      });
  Report("n_number_key_ns", t.nsPerKey, "ns/keystroke");
  Report("n_number_key_allocs", t.allocsPerKey, "allocs/keystroke");
}

// --- (c) A full field of n digit positions -----------------------------------------------------

const int kSizes[] = {10, 100, 1000, 10000};

// One digit typed at n/2 of a full n-digit mask, in overwrite or insert mode; the caret is put
// back (untimed) before each keystroke, and the field refilled every 1000 keystrokes.
double MidField(int n, long keystrokes, bool insert, double* allocsPerKey) {
  CharModel edit(std::string(static_cast<std::size_t>(n), '#').c_str());
  edit.SetInsertMode(insert);
  edit.Create(kEditStyle, kRow, Parent(), 4);
  edit.SetLimitText(static_cast<UINT>(n) + 10);
  edit.SetFocus();
  const std::string full(static_cast<std::size_t>(n), '1');
  const int mid = n / 2;
  long long ns = 0;
  long long allocations = 0;
  for (long k = 0; k < keystrokes; ++k) {
    if (k % 1000 == 0) edit.SetText(full);
    edit.SetSel(mid, mid);
    Pump();
    const char c = static_cast<char>('0' + k % 10);
    const long long before = kwbench::Allocations();
    const auto t0 = Clock::now();
    TypeDigit(c);
    ns += NsSince(t0);
    allocations += kwbench::Allocations() - before;
    if (k < 10) {
      const std::string text = edit.GetWindowText();
      if (static_cast<int>(text.size()) != n || text[static_cast<std::size_t>(mid)] != c)
        Fail("mid-field keystroke", text.substr(static_cast<std::size_t>(mid)));
    }
  }
  *allocsPerKey = static_cast<double>(allocations) / static_cast<double>(keystrokes);
  return static_cast<double>(ns) / static_cast<double>(keystrokes);
}

// SetText of a whole field, alternating two texts so that every call changes it.
double SetTextFull(int n, long calls) {
  CharModel edit(std::string(static_cast<std::size_t>(n), '#').c_str());
  edit.Create(kEditStyle, kRow, Parent(), 5);
  edit.SetLimitText(static_cast<UINT>(n) + 10);
  const std::string a(static_cast<std::size_t>(n), '1');
  const std::string b(static_cast<std::size_t>(n), '2');
  const auto t0 = Clock::now();
  for (long i = 0; i < calls; ++i) edit.SetText((i & 1) != 0 ? a : b);
  const long long ns = NsSince(t0);
  if (edit.GetWindowText() != (((calls - 1) & 1) != 0 ? a : b))
    Fail("set text", edit.GetWindowText());
  return static_cast<double>(ns) / static_cast<double>(calls);
}

// The floor: a plain edit control holding n digits, one typed at n/2 (timed) and taken out
// again with Backspace (untimed).
double PlainMid(int n, long keystrokes) {
  CEdit edit;
  edit.Create(kEditStyle, kRow, Parent(), 6);
  edit.SetLimitText(static_cast<UINT>(n) + 10);
  edit.SetFocus();
  const std::string full(static_cast<std::size_t>(n), '1');
  edit.SetWindowText(full.c_str());
  const int mid = n / 2;
  long long ns = 0;
  for (long k = 0; k < keystrokes; ++k) {
    edit.SetSel(mid, mid);
    Pump();
    const auto t0 = Clock::now();
    TypeDigit(static_cast<char>('0' + k % 10));
    ns += NsSince(t0);
    Press(VK_BACK);
    kwhost::ClearNotifications();
  }
  if (edit.GetWindowText() != full) Fail("plain mid-field", edit.GetWindowText());
  return static_cast<double>(ns) / static_cast<double>(keystrokes);
}

void FullField() {
  const long keys[] = {20000, 10000, 4000, 1000};
  const long calls[] = {50000, 20000, 4000, 400};
  char name[64];
  for (int i = 0; i < 4; ++i) {
    for (bool insert : {false, true}) {
      double allocs = 0;
      const double ns = MidField(kSizes[i], Iterations(keys[i]), insert, &allocs);
      std::snprintf(name, sizeof name, "c_masked_mid%s_n%d_ns", insert ? "_insert" : "", kSizes[i]);
      Report(name, ns, "ns/keystroke");
      std::snprintf(name, sizeof name, "c_masked_mid%s_n%d_allocs", insert ? "_insert" : "",
                    kSizes[i]);
      Report(name, allocs, "allocs/keystroke");
    }
  }
  for (int i = 0; i < 4; ++i) {
    std::snprintf(name, sizeof name, "c_masked_setText_full_n%d_ns", kSizes[i]);
    Report(name, SetTextFull(kSizes[i], Iterations(calls[i])), "ns/call");
  }
  for (int i = 0; i < 4; ++i) {
    std::snprintf(name, sizeof name, "c_plain_mid_n%d_ns", kSizes[i]);
    Report(name, PlainMid(kSizes[i], Iterations(keys[i])), "ns/keystroke");
  }
}

// --- (m) Memory per mask position --------------------------------------------------------------

// What a mask of n digit positions holds on the heap once set, per position: bytes (as the
// allocator hands them out) and allocations still live.
void MemoryPerPosition() {
  const int n = 10000;
  const std::string mask(static_cast<std::size_t>(n), '#');
  CharModel edit;
  const long long bytes = kwbench::LiveBytes();
  const long long blocks = kwbench::LiveAllocations();
  edit.SetMask(mask);
  Report("m_mask_bytes_per_pos", static_cast<double>(kwbench::LiveBytes() - bytes) / n,
         "bytes/position");
  Report("m_mask_allocs_per_pos", static_cast<double>(kwbench::LiveAllocations() - blocks) / n,
         "allocs/position");
}

// --- (p) A 1 MB paste ----------------------------------------------------------------------------

bool PutOnClipboard(HWND owner, const std::string& text) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (mem == nullptr) return false;
  char* p = static_cast<char*>(GlobalLock(mem));
  if (p == nullptr) return false;
  std::memcpy(p, text.c_str(), text.size() + 1);
  GlobalUnlock(mem);
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const bool put = SetClipboardData(CF_TEXT, mem) != nullptr;
  CloseClipboard();
  return put;
}

// Ctrl+V of `bytes` digits into a control that takes at most its own text limit: the time of
// the whole keystroke road, per paste.
template <typename Control>
double PasteBytes(Control& edit, std::size_t bytes, long pastes, const char* what) {
  edit.Create(kEditStyle, kRow, Parent(), 7);
  edit.SetFocus();
  Pump();
  std::string text;
  text.reserve(bytes);
  while (text.size() < bytes) text += "0123456789";
  text.resize(bytes);
  if (!PutOnClipboard(edit.GetSafeHwnd(), text)) Fail("clipboard", what);
  long long ns = 0;
  for (long i = 0; i < pastes; ++i) {
    edit.SetSel(0, -1);
    Pump();
    const auto t0 = Clock::now();
    Press('V', true);
    ns += NsSince(t0);
  }
  if (edit.GetWindowText().empty()) Fail("paste", what);
  return static_cast<double>(ns) / static_cast<double>(pastes);
}

// 0.25, 0.5, 1 and 2 MB: twice the text should take about twice the time (nothing quadratic).
template <typename Control>
void PasteRows(const char* kind, const char* mask) {
  char name[64];
  for (int kb : {256, 512, 1024, 2048}) {
    Control edit(mask);
    if (kb >= 1024) {
      std::snprintf(name, sizeof name, "p_paste_%dmb_%s_ns", kb / 1024, kind);
    } else {
      std::snprintf(name, sizeof name, "p_paste_%dkb_%s_ns", kb, kind);
    }
    Report(name, PasteBytes(edit, static_cast<std::size_t>(kb) << 10, Iterations(100), kind),
           "ns/paste");
  }
}

class PlainControl : public CEdit {
 public:
  explicit PlainControl(const char*) {}
};

void Paste() {
  PasteRows<CharModel>("character", "(###) ###-####");
  PasteRows<KwFieldMaskedEdit>("field", "#");
  PasteRows<KwNumberMaskedEdit>("number", "%");
  PasteRows<PlainControl>("plain", "");
}

}  // namespace

int main(int argc, char** argv) {
  const char* only = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
      g_scale = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
      only = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--scale F] [--only abncmp]\n", argv[0]);
      return 2;
    }
  }
  auto want = [&](char group) { return only == nullptr || std::strchr(only, group) != nullptr; };
  Parent();
  Pump();
  if (want('a')) PhoneMask();
  if (want('b')) PlainEdit();
  if (want('n')) NumberControl();
  if (want('c')) FullField();
  if (want('m')) MemoryPerPosition();
  if (want('p')) Paste();
  return 0;
}
