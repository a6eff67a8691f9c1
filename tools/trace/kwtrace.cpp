// kwtrace: types a key script into one masked edit control and prints, for each stroke, the
// window text with the caret (|) or the selection ([...]) marked, the notifications the parent
// received in order, and whether the control refused the key and why. The same program runs on the
// simulated window system and, built for Windows, on the real one, so the two can be compared.
//   kwtrace --control character --mask '(###) ###-####' --keys '5551234567{Back}'
// Text is UTF-8 throughout: the options and the key script as given, the window text, the data
// and the refused characters as printed, whatever the window's text holds (half a surrogate pair
// prints as U+FFFD). A bad option, mask or script is a one-line error naming it, exit status 2.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/win32.h"  // before the shell's header, which needs windows.h
// CommandLineToArgvW
#include <shellapi.h>
#else
#include <locale.h>
#include <unistd.h>
#endif

#include "character/KwCharacterMaskedEdit.h"
#include "field/KwFieldMaskedEdit.h"
#include "form/Counted.h"
#include "form/WideText.h"
#include "host/KeyScript.h"
#include "host/KwHost.h"
#include "host/Utf8.h"
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

// Text as printed: what is not UTF-8 shows as U+FFFD, control characters as '?'.
std::string Printable(const std::string& text) {
  KwWString wide = kwhost::Utf16FromUtf8(text);
  for (WCHAR& c : wide)
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) c = WCHAR('?');
  return kwhost::Utf8FromUtf16(wide);
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "kwtrace: %s\n", Printable(what).c_str());
  std::exit(2);
}

const char kUsage[] =
    "usage: kwtrace [--control character|field|number] [--mask M] [--prompt C] [--overwrite]\n"
    "               [--limit N] [--text T] [--clipboard T] [--locale NAME] --keys SCRIPT\n";

// The command line in UTF-8: on Windows from the wide command line (argv holds it in the ANSI
// code page, which lacks most characters), elsewhere as given.
std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  int n = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n)) {
    for (int i = 0; i < n; ++i) {
      KwWString arg;
      for (const WCHAR* p = wide[i]; *p; ++p) arg += *p;
      args.push_back(kwhost::Utf8FromUtf16(arg));
    }
    LocalFree(wide);
    return args;
  }
#endif
  for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
  return args;
}

// What is wrong with text as UTF-8 without control characters, or "".
std::string BadText(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const kwhost::Utf8Char c = kwhost::DecodeUtf8(text, i);
    if (!c.error.empty()) return c.error;
    if (c.code < 0x20 || (c.code >= 0x7F && c.code <= 0x9F)) {
      char buf[40];
      std::snprintf(buf, sizeof buf, "U+%04X is a control character",
                    static_cast<unsigned>(c.code));
      return buf;
    }
    i += c.length;
  }
  return "";
}

Options Parse(const std::vector<std::string>& argv) {
  Options o;
  const int argc = static_cast<int>(argv.size());
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
  if (o.promptGiven && (!BadText(o.prompt).empty() || kwhost::Utf16FromUtf8(o.prompt).size() != 1))
    Fail("--prompt '" + o.prompt + "': one printable character (of the first plane)");
  if (o.promptGiven && o.control == "field") Fail("--prompt: a field control shows no prompt");
  if (!o.limit.empty() && o.control != "field") Fail("--limit is for the field control");
  if (!o.limit.empty()) {
    char* end = nullptr;
    const long n = std::strtol(o.limit.c_str(), &end, 10);
    if (*end != '\0' || n < 1 || n > 30000)
      Fail("--limit '" + o.limit + "': a number from 1 to 30000");
  }
  for (const std::string* text : {&o.mask, &o.text, &o.clipboard}) {
    const std::string bad = BadText(*text);
    if (!bad.empty())
      Fail(std::string(text == &o.mask   ? "mask"
                       : text == &o.text ? "--text"
                                         : "--clipboard") +
           " '" + *text + "': " + bad);
  }
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

// A separator of the locale, quoted, with its code point when it is not ASCII (a narrow
// no-break space looks like a space): "'.'", "' ' U+202F", "''" when the locale has none.
std::string Separator(LCTYPE type) {
  WCHAR buf[8] = {0};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 8);
  const KwWString sep(buf, n > 1 ? static_cast<std::size_t>(n - 1) : 0);
  std::string out = "'" + kwhost::Utf8FromUtf16(sep) + "'";
  for (WCHAR c : sep) {
    if (c < 0x80) continue;
    char code[16];
    std::snprintf(code, sizeof code, " U+%04X", static_cast<unsigned>(c));
    out += code;
  }
  return out;
}

// The window text with the caret or the selection marked (positions in UTF-16 units).
std::string Marked(HWND hEdit) {
  const KwWString text = kwhost::TextW(hEdit);
  std::pair<int, int> sel = kwhost::Sel(hEdit);
  const int n = static_cast<int>(text.size());
  sel.first = sel.first < 0 ? 0 : sel.first > n ? n : sel.first;
  sel.second = sel.second < sel.first ? sel.first : sel.second > n ? n : sel.second;
  const std::size_t a = static_cast<std::size_t>(sel.first),
                    b = static_cast<std::size_t>(sel.second);
  auto utf8 = [](const KwWString& part) { return kwhost::Utf8FromUtf16(part); };
  if (a == b) return "\"" + utf8(text.substr(0, a)) + "|" + utf8(text.substr(a)) + "\"";
  return "\"" + utf8(text.substr(0, a)) + "[" + utf8(text.substr(a, b - a)) + "]" +
         utf8(text.substr(b)) + "\"";
}

// How many terminal columns UTF-8 text takes (East Asian wide characters two).
std::size_t Columns(const std::string& text) {
  std::size_t columns = 0;
  for (std::size_t i = 0; i < text.size();) {
    const kwhost::Utf8Char c = kwhost::DecodeUtf8(text, i);
    columns += static_cast<std::size_t>(kwhost::ColumnsOf(c.error.empty() ? c.code : 0xFFFD));
    i += c.length;
  }
  return columns;
}

std::string Notes() {
  std::string out;
  for (const kwhost::Notification& n : kwhost::Notifications())
    if (n.id == kId) out += (out.empty() ? "" : " ") + kwhost::CodeName(n.code);
  return out;
}

std::string Pad(std::string s, std::size_t width) {
  const std::size_t columns = Columns(s);
  if (columns < width) s.append(width - columns, ' ');
  return s;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as natively: "\n", not "\r\n"
#endif
  const Options o = Parse(Arguments(argc, argv));
  const kwhost::KeyScript script = kwhost::ParseKeys(o.keys);
  if (!script.ok()) Fail("key script '" + o.keys + "': " + script.error);
  UseLocale(o.locale, argv);

  std::unique_ptr<KwMaskedEdit> control;
  int* refused = nullptr;
  // A mask beyond ASCII goes in through the wide road after construction.
  bool ascii = true;
  for (char c : o.mask) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  const KwWString mask = kwhost::Utf16FromUtf8(o.mask);
  const WCHAR prompt = o.promptGiven ? kwhost::Utf16FromUtf8(o.prompt)[0] : WCHAR(' ');
  if (o.control == "character") {
    auto* c = new kwdemo::Counted<KwCharacterMaskedEdit>(ascii ? o.mask.c_str() : "");
    if (!ascii) kwdemo::SetMaskWide(*c, mask);
    if (o.promptGiven) kwdemo::SetPromptWide(*c, prompt);
    refused = &c->refused;
    control.reset(c);
  } else if (o.control == "field") {
    auto* c = new kwdemo::Counted<KwFieldMaskedEdit>(o.mask);
    refused = &c->refused;
    control.reset(c);
  } else {
    auto* c = new kwdemo::Counted<KwNumberMaskedEdit>(o.mask.c_str());
    if (o.promptGiven) kwdemo::SetPromptWide(*c, prompt);
    refused = &c->refused;
    control.reset(c);
  }
  if (!control->Create(kwhost::kEditStyle, kwhost::EditRect(kId), kwhost::ParentWnd(), kId)) {
    std::fprintf(stderr, "kwtrace: cannot create the control\n");
    return 1;
  }
  if (o.control == "character" && !o.mask.empty() && kwdemo::InputDataW(*control, true).empty())
    Fail("mask '" + o.mask + "' has no input position");
  if (!o.limit.empty()) control->SetLimitText(static_cast<UINT>(std::atoi(o.limit.c_str())));
  control->SetInsertMode(!o.overwrite);
  control->SetNotifyRejections(true);
  if (o.textGiven) kwdemo::SetTextWide(*control, kwhost::Utf16FromUtf8(o.text));
  // The trace starts from the clipboard it is given, empty unless --clipboard says otherwise:
  // on the real platform the clipboard outlives the program that filled it, and a trace must
  // not depend on what another program left there.
  if (o.clipboard.empty()) {
    kwhost::EmptyClipboardNow();
  } else if (!kwhost::SetClipboardTextW(kwhost::Utf16FromUtf8(o.clipboard))) {
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
    std::printf(", locale %s (decimal %s, thousands %s, date %s)", o.locale.c_str(),
                Separator(LOCALE_SDECIMAL).c_str(), Separator(LOCALE_STHOUSAND).c_str(),
                Separator(LOCALE_SDATE).c_str());
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
    keyWidth = std::max(keyWidth, Columns(r.key));
    textWidth = std::max(textWidth, Columns(r.text));
  }
  std::printf("%s  %s  %s\n", Pad("key", keyWidth).c_str(), Pad("text", textWidth).c_str(),
              "parent notified");
  for (const Row& r : rows) {
    const std::string line = Pad(r.key, keyWidth) + "  " + Pad(r.text, textWidth) + "  " + r.notes;
    std::printf("%s\n", line.substr(0, line.find_last_not_of(' ') + 1).c_str());
  }
  std::printf("data '%s', with prompts '%s'\n", kwdemo::InputDataUtf8(*control, false).c_str(),
              kwdemo::InputDataUtf8(*control, true).c_str());
  control->DestroyWindow();
  return kwhost::Errors() == 0 ? 0 : 1;
}
