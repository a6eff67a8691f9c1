// The interactive demo: the demo form on the simulated window system, painted in the terminal
// and typed into from the keyboard. Each key read from the terminal becomes key-script strokes
// played through SendInput and the host loop (host/KwHost.h), exactly as the tests type; the
// screen is then painted again from what the windows answer. F1 lists the keys, F10 or Ctrl+Q
// quits. The terminal speaks its locale's character set (UTF-8): any character it sends is
// typed (a character beyond ASCII as a character without a key), and the texts show as they
// are.
#include <curses.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "form/DemoForm.h"
#include "form/WideText.h"
#include "host/KeyScript.h"
#include "host/KwHost.h"
#include "host/Utf8.h"
#include "terminal/TerminalKeys.h"
#include "terminal/TerminalScreen.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMinRows = 24, kMinColumns = 80;
constexpr int kStatusRow = 12;

// What the last key did, for the status lines.
struct LastKey {
  std::string script;                       // as the key-script language writes it
  std::vector<kwhost::Notification> notes;  // what the parent received meanwhile
  bool beeped = false;
  Clock::time_point flashUntil{};
};

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

std::string StateWord(int state) {
  if (state & 0x14) return "error";
  if (state & 0x0A) return "warning";
  return "normal";
}

std::string Pad(std::string s, std::size_t width) {
  return kwterminal::PadCells(std::move(s), static_cast<int>(width));
}

// The notifications, grouped by the control that sent them, a run of repeated pairs counted:
// " phone: EN_UPDATE EN_CHANGE x4 EN_KILLFOCUS; field 1: EN_SETFOCUS".
std::string DescribeNotes(const kwdemo::DemoForm& form,
                          const std::vector<kwhost::Notification>& notes) {
  if (notes.empty()) return " nothing";
  std::string out;
  for (std::size_t i = 0; i < notes.size();) {
    const kwdemo::FormControl* from = form.Find(notes[i].hwnd);
    out += std::string(i ? "; " : " ") + (from ? from->name : "?") + ":";
    std::size_t end = i;
    while (end < notes.size() && notes[end].hwnd == notes[i].hwnd) ++end;
    while (i < end) {
      int repeats = 1;
      while (i + 2 * repeats + 1 < end && notes[i + 2 * repeats].code == notes[i].code &&
             notes[i + 2 * repeats + 1].code == notes[i + 1].code)
        ++repeats;
      if (repeats > 1) {
        out += " " + kwhost::CodeName(notes[i].code) + " " + kwhost::CodeName(notes[i + 1].code) +
               " x" + std::to_string(repeats);
        i += 2 * static_cast<std::size_t>(repeats);
      } else {
        out += " " + kwhost::CodeName(notes[i++].code);
      }
    }
  }
  return out;
}

void PaintStatus(kwterminal::TerminalScreen& screen, kwdemo::DemoForm& form, const LastKey& last) {
  const int r = kStatusRow;
  const kwdemo::FormControl* focus = form.Find(GetFocus());
  std::string rule = "-- ";
  if (focus) rule += std::string(focus->name) + ": " + focus->kind + " control ";
  std::string mode =
      focus ? (focus->control->GetInsertMode() ? " insert --" : " overwrite --") : "";
  rule = Pad(rule, static_cast<std::size_t>(kMinColumns) - mode.size());
  for (std::size_t i = rule.find_last_not_of(' ') + 2; i < rule.size(); ++i) rule[i] = '-';
  screen.Put(r, 0, rule + mode, A_BOLD);
  if (focus) {
    KwMaskedEdit& c = *focus->control;
    const std::pair<int, int> sel = kwterminal::Selection(c.GetSafeHwnd());
    char value[64];
    double number = 0;
    c.GetDataNumValue(number);
    std::snprintf(value, sizeof value, "%.2f", number);
    char state[32];
    std::snprintf(state, sizeof state, "0x%02X %s", c.GetState(), StateWord(c.GetState()).c_str());
    screen.Put(r + 1, 1,
               "shows  " + Pad(Quoted(kwterminal::WindowText(c.GetSafeHwnd())), 24) +
                   (sel.first == sel.second ? "caret " + std::to_string(sel.first)
                                            : "selected " + std::to_string(sel.first) + "-" +
                                                  std::to_string(sel.second)));
    screen.Put(r + 2, 1,
               "data   " + Pad(Quoted(kwdemo::InputDataUtf8(c, false)), 24) + "with prompts " +
                   Quoted(kwdemo::InputDataUtf8(c, true)));
    screen.Put(r + 3, 1, "value  " + Pad(value, 24) + "state " + state);
    const std::string why = kwdemo::RejectionText(c);
    screen.Put(r + 4, 1,
               "refused " + std::to_string(*focus->refused) + " key(s) here" +
                   (why.empty() ? std::string() : ", last: " + why));
    screen.Put(r + 8, 1,
               std::string("undo ") + (c.CanUndo() ? "yes" : "no") + ", redo " +
                   (c.CanRedo() ? "yes" : "no"));
  }
  if (last.beeped && Clock::now() < last.flashUntil)
    screen.Put(r + 4, 70, " BEEP ", A_REVERSE | A_BOLD);

  std::string notes = "parent got:" + DescribeNotes(form, last.notes);
  screen.Put(r + 5, 1, "key    " + (last.script.empty() ? std::string("-") : last.script));
  // Two lines of notifications; what does not fit is cut at the front.
  const std::size_t room = 2 * (kMinColumns - 2);
  if (notes.size() > room) notes = "..." + notes.substr(notes.size() - room + 3);
  screen.Put(r + 6, 1, notes.substr(0, kMinColumns - 2));
  if (notes.size() > static_cast<std::size_t>(kMinColumns - 2))
    screen.Put(r + 7, 1, notes.substr(kMinColumns - 2));

  const std::string check = form.dateValidator ? form.dateValidator->GetErrorString() : "";
  screen.Put(r + 9, 1, "date check: " + (check.empty() ? std::string("fine") : check));
  screen.Put(r + 10, 1, "clipboard:  " + Quoted(kwhost::Utf8FromUtf16(kwhost::ClipboardTextW())));
}

void PaintHelp(kwterminal::TerminalScreen& screen) {
  static const char* const kLines[] = {
      "Keys",
      "",
      "  characters        type into the focused control",
      "                    (any script: \xC5\x81ucja, \xD0\x96\xD0\xB0\xD0\xBD\xD0\xBD\xD0\xB0)",
      "  Backspace, Del    delete (Shift+Del cuts)",
      "  Ins               insert / overwrite (Shift+Ins pastes)",
      "  Home End Left Right Up Down   move; with Shift: select",
      "  Tab, Shift+Tab    next / previous control",
      "  Ctrl+X Ctrl+C Ctrl+V          cut, copy, paste",
      "  Ctrl+Z, Ctrl+Y    undo, redo",
      "  F1                this help      F10, Ctrl+Q   quit",
      "",
      "The clipboard is the simulated window system's own.",
      "Any key closes this help."};
  const int top = 3, left = 8, width = 64;
  const int height = static_cast<int>(sizeof kLines / sizeof kLines[0]) + 2;
  for (int i = 0; i < height; ++i) {
    std::string line(static_cast<std::size_t>(width), ' ');
    if (i == 0 || i == height - 1)
      line = "+" + std::string(static_cast<std::size_t>(width - 2), '-') + "+";
    else
      line = "| " + Pad(kLines[i - 1], static_cast<std::size_t>(width - 4)) + " |";
    screen.Put(top + i, left, line, i == 1 ? A_BOLD : A_NORMAL);
  }
}

void Paint(kwterminal::TerminalScreen& screen, HWND hFrame, kwdemo::DemoForm& form,
           const LastKey& last, bool help) {
  screen.Clear();
  if (screen.Rows() < kMinRows || screen.Columns() < kMinColumns) {
    screen.Put(0, 0,
               "The demo needs " + std::to_string(kMinColumns) + "x" + std::to_string(kMinRows) +
                   "; this terminal is " + std::to_string(screen.Columns()) + "x" +
                   std::to_string(screen.Rows()) + ". F10 quits.");
    screen.Show();
    return;
  }
  screen.Put(0, 0,
             Pad(" " + kwterminal::WindowText(hFrame), kMinColumns - 22) + "    F1 keys  F10 quit ",
             A_REVERSE);
  // The status first: reading the number value runs the date's validator, which may change its
  // look before it is painted.
  PaintStatus(screen, form, last);
  for (HWND hLabel : form.Labels()) screen.PaintLabel(hFrame, hLabel);
  for (const kwdemo::FormControl& c : form.Controls())
    screen.PaintEdit(hFrame, c.control->GetSafeHwnd());
  screen.Put(kMinRows - 1, 0,
             Pad(" Tab next  Ins insert/overwrite  Ctrl+X/C/V clipboard  Ctrl+Z/Y undo  F10 quit",
                 kMinColumns),
             A_REVERSE);
  if (help) PaintHelp(screen);
  screen.Show();
}

// Plays one key's script through the host loop and notes what came of it.
void Play(const std::string& script, kwdemo::DemoForm& form, LastKey& last) {
  const kwhost::KeyScript keys = kwhost::ParseKeys(script);
  if (!keys.ok()) return;
  kwhost::ClearNotifications();
  const int beeps = kwhost::Beeps();
  kwhost::PlayKeys(keys.strokes);
  form.date.OnValidate();  // the date is checked as it is typed
  last.script = script;
  last.notes = kwhost::Notifications();
  last.beeped = kwhost::Beeps() != beeps;
  if (last.beeped) last.flashUntil = Clock::now() + std::chrono::milliseconds(700);
}

kwterminal::TerminalScreen* g_screen = nullptr;

void OnSignal(int) {
  if (g_screen != nullptr) endwin();
  _exit(1);
}

}  // namespace

int main() {
  // The terminal's character set; only LC_CTYPE, so that numbers still print with '.'.
  std::setlocale(LC_CTYPE, "");
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    std::fprintf(
        stderr, "kwterminal: needs a terminal (tools/demo.sh --script prints the scripted demo)\n");
    return 2;
  }
  CWnd* frame = kwhost::ParentWnd();
  frame->SetWindowText("KwMaskEdit demo on the simulated window system");
  kwdemo::DemoForm form;
  if (!form.Create(frame)) {
    std::fprintf(stderr, "kwterminal: cannot create the form's windows\n");
    return 1;
  }
  form.phone.SetFocus();
  kwhost::Pump();
  kwhost::ClearNotifications();

  auto screen = std::make_unique<kwterminal::TerminalScreen>();
  g_screen = screen.get();
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGHUP, OnSignal);

  LastKey last;
  bool help = false;
  for (;;) {
    Paint(*screen, frame->GetSafeHwnd(), form, last, help);
    const auto left = last.flashUntil - Clock::now();
    timeout(left > Clock::duration::zero()
                ? static_cast<int>(
                      std::chrono::duration_cast<std::chrono::milliseconds>(left).count()) +
                      1
                : -1);
    wint_t ch = 0;
    const int got = get_wch(&ch);
    if (got == ERR) continue;  // the flash is over
    const kwterminal::TerminalKey key = got == KEY_CODE_YES
                                            ? kwterminal::MapKey(static_cast<int>(ch))
                                            : kwterminal::MapCharacter(static_cast<char32_t>(ch));
    if (key.action == kwterminal::KeyAction::kQuit) break;
    if (help) {
      help = false;
      continue;
    }
    if (key.action == kwterminal::KeyAction::kHelp) help = true;
    if (key.action == kwterminal::KeyAction::kType) Play(key.script, form, last);
  }
  g_screen = nullptr;
  screen.reset();
  return 0;
}
