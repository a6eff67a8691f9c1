// kwtrace: types a key script into one masked edit control and prints, for each stroke, the
// window text with the caret (|) or the selection ([...]) marked, the notifications the parent
// received in order, and whether the control refused the key and why. The same program runs on the
// simulated window system and, built for Windows, on the real one, so the two can be compared.
//   kwtrace --control character --mask '(###) ###-####' --keys '5551234567{Back}'
// A bad option, mask or script is a one-line error naming it, exit status 2.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <locale.h>
#include <unistd.h>
#endif

#include "character/KwCharacterMaskedEdit.h"
#include "field/KwFieldMaskedEdit.h"
#include "form/Counted.h"
#include "host/KeyScript.h"
#include "host/KwHost.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

constexpr int kId = 100;

struct Options {
  std::string control = "character";
  std::string mask;
  bool maskGiven = false;
  std::string prompt;
  bool promptGiven = false;
  bool overwrite = false;
  std::string limit;
  std::string text;
  bool textGiven = false;
  std::string clipboard;  // what the clipboard holds before the first key ("" empty)
  bool clipboardGiven = false;
  std::string locale;
  std::string keys;
};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "kwtrace: %s\n", what.c_str());
  std::exit(2);
}

const char kUsage[] =
    "usage: kwtrace [--control character|field|number] [--mask M] [--prompt C] [--overwrite]\n"
    "               [--limit N] [--text T] [--clipboard T] [--locale NAME] --keys SCRIPT\n";

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (arg == "--overwrite") {
      o.overwrite = true;
      continue;
    }
    std::string* value = arg == "--control"     ? &o.control
                         : arg == "--mask"      ? &o.mask
                         : arg == "--prompt"    ? &o.prompt
                         : arg == "--limit"     ? &o.limit
                         : arg == "--text"      ? &o.text
                         : arg == "--clipboard" ? &o.clipboard
                         : arg == "--locale"    ? &o.locale
                         : arg == "--keys"      ? &o.keys
                                                : nullptr;
    if (value == nullptr) Fail("unknown option '" + arg + "' (kwtrace --help lists them)");
    if (i + 1 >= argc) Fail("option " + arg + " needs a value");
    *value = argv[++i];
    o.maskGiven |= value == &o.mask;
    o.promptGiven |= value == &o.prompt;
    o.textGiven |= value == &o.text;
    o.clipboardGiven |= value == &o.clipboard;
  }
  if (o.control != "character" && o.control != "field" && o.control != "number")
    Fail("--control '" + o.control + "': one of character, field, number");
  if (o.promptGiven && (o.prompt.size() != 1 || o.prompt[0] < 0x20 || o.prompt[0] > 0x7E))
    Fail("--prompt '" + o.prompt + "': one printable character");
  if (o.promptGiven && o.control == "field") Fail("--prompt: a field control shows no prompt");
  if (!o.limit.empty() && o.control != "field") Fail("--limit is for the field control");
  if (!o.limit.empty()) {
    char* end = nullptr;
    const long n = std::strtol(o.limit.c_str(), &end, 10);
    if (*end != '\0' || n < 1 || n > 30000)
      Fail("--limit '" + o.limit + "': a number from 1 to 30000");
  }
  for (char c : o.mask)
    if (c < 0x20 || c > 0x7E) Fail("mask '" + o.mask + "': printable characters only");
  if (!o.maskGiven)
    o.mask = o.control == "character" ? "(###) ###-####" : o.control == "field" ? "#" : "%";
  if (o.control == "field" &&
      (o.mask.size() != 1 || std::strchr("#%$A?><&.", o.mask[0]) == nullptr))
    Fail("field mask '" + o.mask + "': one of # % $ A ? > < & .");
  if (o.control == "number" && o.mask != "%" && o.mask != "$")
    Fail("number mask '" + o.mask + "': % (a number) or $ (money)");
  return o;
}

// The locale separators are read from the environment when the library is loaded, so a locale
// has to be in place before this program starts: natively the program starts itself again with
// LC_ALL set; under Wine the caller sets LC_ALL (tools/trace.sh does).
void UseLocale(const std::string& name, char** argv) {
  if (name.empty()) return;
  const char* current = std::getenv("LC_ALL");
  if (current != nullptr && name == current) return;
#ifdef _WIN32
  (void)argv;
  Fail("--locale '" + name + "': start the program with LC_ALL=" + name +
       " (tools/trace.sh --windows does)");
#else
  locale_t loc = newlocale(LC_ALL_MASK, name.c_str(), static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0))
    Fail("--locale '" + name + "': not a locale of this system (locale -a)");
  freelocale(loc);
  setenv("LC_ALL", name.c_str(), 1);
  execv("/proc/self/exe", argv);
  Fail("--locale '" + name + "': cannot start again in it");
#endif
}

char Separator(LCTYPE type) {
  char buf[8] = {0};
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf) > 0 ? buf[0] : '?';
}

// The window text with the caret or the selection marked.
std::string Marked(HWND hEdit) {
  const std::string text = kwhost::Text(hEdit);
  std::pair<int, int> sel = kwhost::Sel(hEdit);
  const int n = static_cast<int>(text.size());
  sel.first = sel.first < 0 ? 0 : sel.first > n ? n : sel.first;
  sel.second = sel.second < sel.first ? sel.first : sel.second > n ? n : sel.second;
  const std::size_t a = static_cast<std::size_t>(sel.first),
                    b = static_cast<std::size_t>(sel.second);
  if (a == b) return "\"" + text.substr(0, a) + "|" + text.substr(a) + "\"";
  return "\"" + text.substr(0, a) + "[" + text.substr(a, b - a) + "]" + text.substr(b) + "\"";
}

std::string Notes() {
  std::string out;
  for (const kwhost::Notification& n : kwhost::Notifications())
    if (n.id == kId) out += (out.empty() ? "" : " ") + kwhost::CodeName(n.code);
  return out;
}

std::string Pad(std::string s, std::size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as natively: "\n", not "\r\n"
#endif
  const Options o = Parse(argc, argv);
  const kwhost::KeyScript script = kwhost::ParseKeys(o.keys);
  if (!script.ok()) Fail("key script '" + o.keys + "': " + script.error);
  UseLocale(o.locale, argv);

  std::unique_ptr<KwMaskedEdit> control;
  int* refused = nullptr;
  if (o.control == "character") {
    auto* c = new kwdemo::Counted<KwCharacterMaskedEdit>(o.mask.c_str());
    if (o.promptGiven) c->SetPromptSymbol(o.prompt[0]);
    refused = &c->refused;
    control.reset(c);
  } else if (o.control == "field") {
    auto* c = new kwdemo::Counted<KwFieldMaskedEdit>(o.mask);
    refused = &c->refused;
    control.reset(c);
  } else {
    auto* c = new kwdemo::Counted<KwNumberMaskedEdit>(o.mask.c_str());
    if (o.promptGiven) c->SetPromptSymbol(o.prompt[0]);
    refused = &c->refused;
    control.reset(c);
  }
  if (!control->Create(kwhost::kEditStyle, kwhost::EditRect(kId), kwhost::ParentWnd(), kId)) {
    std::fprintf(stderr, "kwtrace: cannot create the control\n");
    return 1;
  }
  if (o.control == "character" && !o.mask.empty() && control->GetInputData(true).empty())
    Fail("mask '" + o.mask + "' has no input position");
  if (!o.limit.empty()) control->SetLimitText(static_cast<UINT>(std::atoi(o.limit.c_str())));
  control->SetInsertMode(!o.overwrite);
  control->SetNotifyRejections(true);
  if (o.textGiven) control->SetText(o.text);
  // The trace starts from the clipboard it is given, empty unless --clipboard says otherwise:
  // on the real platform the clipboard outlives the program that filled it, and a trace must
  // not depend on what another program left there.
  if (o.clipboard.empty()) {
    kwhost::EmptyClipboardNow();
  } else if (!kwhost::SetClipboardText(o.clipboard)) {
    std::fprintf(stderr, "kwtrace: cannot put the text on the clipboard\n");
    return 1;
  }
  control->SetFocus();
  kwhost::Pump();
  const HWND hEdit = control->GetSafeHwnd();

  std::printf("%s control, mask '%s'", o.control.c_str(), o.mask.c_str());
  if (o.control != "field") std::printf(", prompt '%s'", o.promptGiven ? o.prompt.c_str() : " ");
  if (!o.limit.empty()) std::printf(", limit %s", o.limit.c_str());
  std::printf(", %s mode", o.overwrite ? "overwrite" : "insert");
  if (o.clipboardGiven) std::printf(", clipboard '%s'", o.clipboard.c_str());
  if (!o.locale.empty())
    std::printf(", locale %s (decimal '%c', thousands '%c', date '%c')", o.locale.c_str(),
                Separator(LOCALE_SDECIMAL), Separator(LOCALE_STHOUSAND), Separator(LOCALE_SDATE));
  std::printf("\n");

  struct Row {
    std::string key, text, notes;
  };
  std::vector<Row> rows{{"", Marked(hEdit), ""}};
  kwhost::ClearNotifications();
  kwhost::PlayKeys(script.strokes, [&](const kwhost::Stroke& s) {
    static int seen = 0;
    static bool insert = !o.overwrite;
    Row row{s.source, Marked(hEdit), Notes()};
    auto add = [&row](const std::string& what) {
      row.notes += (row.notes.empty() ? "" : "  ") + what;
    };
    if (row.notes.find("KWN_REJECTED") != std::string::npos) {
      add("refused: " + kwdemo::RejectionText(*control));
    } else if (*refused != seen) {
      add("refused");
    }
    if (control->GetInsertMode() != insert)
      add(control->GetInsertMode() ? "insert mode" : "overwrite mode");
    seen = *refused;
    insert = control->GetInsertMode();
    rows.push_back(row);
    kwhost::ClearNotifications();
  });
  std::size_t keyWidth = 3, textWidth = 4;
  for (const Row& r : rows) {
    keyWidth = std::max(keyWidth, r.key.size());
    textWidth = std::max(textWidth, r.text.size());
  }
  std::printf("%s  %s  %s\n", Pad("key", keyWidth).c_str(), Pad("text", textWidth).c_str(),
              "parent notified");
  for (const Row& r : rows) {
    const std::string line = Pad(r.key, keyWidth) + "  " + Pad(r.text, textWidth) + "  " + r.notes;
    std::printf("%s\n", line.substr(0, line.find_last_not_of(' ') + 1).c_str());
  }
  std::printf("data '%s', with prompts '%s'\n", control->GetInputData(false).c_str(),
              control->GetInputData(true).c_str());
  control->DestroyWindow();
  return kwhost::Errors() == 0 ? 0 : 1;
}
