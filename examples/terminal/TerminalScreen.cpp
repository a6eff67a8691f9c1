#include "terminal/TerminalScreen.h"

#include <curses.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "form/DemoForm.h"
#include "host/KwHost.h"
#include "host/Utf8.h"

namespace kwterminal {

namespace {

// The eight colours every colour terminal has, for a colour given as RGB: neutral tints become
// black or white by their lightness, the others go by hue.
short BasicColour(COLORREF rgb) {
  const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
  if (hi == 0 || (hi - lo) * 5 < hi)
    return (r * 299 + g * 587 + b * 114) / 1000 >= 128 ? COLOR_WHITE : COLOR_BLACK;
  const double d = hi - lo;
  double hue = hi == r   ? 60 * (g - b) / d
               : hi == g ? 120 + 60 * (b - r) / d
                         : 240 + 60 * (r - g) / d;
  if (hue < 0) hue += 360;
  if (hue < 20 || hue >= 330) return COLOR_RED;
  if (hue < 70) return COLOR_YELLOW;
  if (hue < 160) return COLOR_GREEN;
  if (hue < 220) return COLOR_CYAN;
  if (hue < 270) return COLOR_BLUE;
  return COLOR_MAGENTA;
}

// The nearest colour of the 6x6x6 cube of a 256-colour terminal.
short CubeColour(COLORREF rgb) {
  auto level = [](int v) { return v < 48 ? 0 : v < 115 ? 1 : (v - 35) / 40; };
  return static_cast<short>(16 + 36 * level(GetRValue(rgb)) + 6 * level(GetGValue(rgb)) +
                            level(GetBValue(rgb)));
}

// A monochrome screen shows a background as an attribute.
int MonoLook(COLORREF background) {
  switch (BasicColour(background)) {
    case COLOR_WHITE:
    case COLOR_BLACK:
      return A_NORMAL;
    case COLOR_YELLOW:
      return A_UNDERLINE;
    case COLOR_RED:
      return A_REVERSE | A_BOLD;
    default:
      return A_BOLD;
  }
}

// Where the caret of each edit control was last seen at the start or the end of its selection:
// EM_GETSEL answers the selection in order, so a selection that grew at its start has the caret
// there.
std::map<HWND, std::pair<std::pair<int, int>, bool>>& CaretMemory() {
  static std::map<HWND, std::pair<std::pair<int, int>, bool>> memory;
  return memory;
}

int CaretOf(HWND hEdit, std::pair<int, int> sel) {
  auto& seen = CaretMemory()[hEdit];
  bool atStart = false;
  if (sel.first != sel.second) {
    const std::pair<int, int> old = seen.first;
    if (old.first == old.second)
      atStart = sel.second == old.first;  // grew leftwards
    else if (old.second == sel.second && old.first != sel.first)
      atStart = true;
    else if (old.first == sel.first && old.second != sel.second)
      atStart = false;
    else
      atStart = seen.second;
  }
  seen = {sel, atStart};
  return atStart ? sel.first : sel.second;
}

// The sequences xterm-like terminals and tmux send for keys, whatever the terminal description
// says: under tmux with TERM=xterm-256color Home arrives as ESC [1~, and a vt100 description
// names no shifted keys at all.
void DefineKeys() {
  static const struct {
    const char* sequence;
    int key;
  } kKeys[] = {{"\033[1~", KEY_HOME},    {"\033[7~", KEY_HOME},    {"\033[H", KEY_HOME},
               {"\033OH", KEY_HOME},     {"\033[4~", KEY_END},     {"\033[8~", KEY_END},
               {"\033[F", KEY_END},      {"\033OF", KEY_END},      {"\033[2~", KEY_IC},
               {"\033[3~", KEY_DC},      {"\033[A", KEY_UP},       {"\033[B", KEY_DOWN},
               {"\033[C", KEY_RIGHT},    {"\033[D", KEY_LEFT},     {"\033OA", KEY_UP},
               {"\033OB", KEY_DOWN},     {"\033OC", KEY_RIGHT},    {"\033OD", KEY_LEFT},
               {"\033[1;2A", KEY_SR},    {"\033[1;2B", KEY_SF},    {"\033[1;2C", KEY_SRIGHT},
               {"\033[1;2D", KEY_SLEFT}, {"\033[1;2H", KEY_SHOME}, {"\033[1;2F", KEY_SEND},
               {"\033[2;2~", KEY_SIC},   {"\033[3;2~", KEY_SDC},   {"\033[Z", KEY_BTAB},
               {"\033OP", KEY_F(1)},     {"\033[11~", KEY_F(1)},   {"\033[21~", KEY_F(10)}};
  for (const auto& k : kKeys)
    if (key_defined(k.sequence) == 0) define_key(k.sequence, k.key);
}

}  // namespace

namespace {

// The cells a character takes on this terminal (the C library's answer, as ncurses has it);
// one for what it cannot tell, so that every character shows.
int CellsOf(char32_t c) {
  const int n = wcwidth(static_cast<wchar_t>(c));
  return n < 1 ? 1 : n;
}

// UTF-8 as the terminal's wide characters; what is not UTF-8 shows as U+FFFD.
std::wstring Wide(const std::string& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size();) {
    const kwhost::Utf8Char c = kwhost::DecodeUtf8(text, i);
    out += static_cast<wchar_t>(c.error.empty() ? c.code : 0xFFFD);
    i += c.length;
  }
  return out;
}

}  // namespace

int Cells(const std::string& text) {
  int n = 0;
  for (wchar_t c : Wide(text)) n += CellsOf(static_cast<char32_t>(c));
  return n;
}

std::string PadCells(std::string text, int width) {
  const int n = Cells(text);
  if (n < width) text.append(static_cast<std::size_t>(width - n), ' ');
  return text;
}

std::string WindowText(HWND hWnd) { return kwhost::Utf8FromUtf16(kwhost::TextW(hWnd)); }

std::pair<int, int> Selection(HWND hEdit) {
  DWORD start = 0, end = 0;
  SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

TerminalScreen::TerminalScreen() {
  initscr();  // the program has taken the character set of its locale (LC_CTYPE) before
  raw();      // Ctrl+C, Ctrl+Q, Ctrl+Z and Ctrl+V are keys of the demo, not signals or quoting
  noecho();
  keypad(stdscr, TRUE);
  nonl();
  set_escdelay(25);
  DefineKeys();
  const char* noColor = std::getenv("NO_COLOR");
  m_colour = has_colors() && (noColor == nullptr || noColor[0] == '\0');
  if (m_colour) {
    start_color();
    use_default_colors();
    m_256 = COLORS >= 256;
  }
}

TerminalScreen::~TerminalScreen() {
  curs_set(1);
  endwin();
}

int TerminalScreen::Rows() const { return LINES; }
int TerminalScreen::Columns() const { return COLS; }

TerminalScreen::Place TerminalScreen::PlaceOf(HWND hFrame, HWND hWnd) {
  RECT frame, window;
  GetWindowRect(hFrame, &frame);
  GetWindowRect(hWnd, &window);
  Place p;
  p.column = (window.left - frame.left) / kwdemo::kCellWidth;
  p.row = (window.top - frame.top) / kwdemo::kCellHeight;
  p.width = (window.right - window.left) / kwdemo::kCellWidth;
  return p;
}

int TerminalScreen::Look(COLORREF text, COLORREF background) {
  if (!m_colour) return MonoLook(background);
  const short fg = m_256 ? CubeColour(text) : BasicColour(text);
  const short bg = m_256 ? CubeColour(background) : BasicColour(background);
  auto found = m_pairs.find({fg, bg});
  if (found == m_pairs.end()) {
    const short pair = static_cast<short>(m_pairs.size() + 1);
    if (pair >= COLOR_PAIRS) return A_NORMAL;
    init_pair(pair, fg, bg);
    found = m_pairs.emplace(std::make_pair(fg, bg), pair).first;
  }
  return static_cast<int>(COLOR_PAIR(found->second));
}

void TerminalScreen::Put(int row, int column, const std::string& text, int attributes) {
  if (row < 0 || row >= LINES || column >= COLS) return;
  // As many whole characters as fit in the cells left on the row.
  const std::wstring wide = Wide(text);
  int room = COLS - column;
  std::size_t fit = 0;
  for (; fit < wide.size(); ++fit) {
    const int cells = CellsOf(static_cast<char32_t>(wide[fit]));
    if (cells > room) break;
    room -= cells;
  }
  attrset(static_cast<attr_t>(attributes));
  mvaddnwstr(row, column, wide.c_str(), static_cast<int>(fit));
  attrset(A_NORMAL);
}

void TerminalScreen::PaintLabel(HWND hFrame, HWND hWnd) {
  if (!IsWindowVisible(hWnd)) return;
  const Place p = PlaceOf(hFrame, hWnd);
  Put(p.row, p.column, WindowText(hWnd));
}

void TerminalScreen::PaintEdit(HWND hFrame, HWND hWnd) {
  if (!IsWindowVisible(hWnd)) return;
  const Place p = PlaceOf(hFrame, hWnd);
  const KwWString text = kwhost::TextW(hWnd);
  const std::pair<int, int> sel = Selection(hWnd);
  const int caret = CaretOf(hWnd, sel);

  // Ask the parent for the colours, as painting an edit control does.
  const DWORD style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
  const UINT message = (style & (WS_DISABLED | ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HDC dc = GetDC(hWnd);
  SendMessageA(GetParent(hWnd), message, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(hWnd));
  const int look = Look(GetTextColor(dc), GetBkColor(dc));
  ReleaseDC(hWnd, dc);

  // The characters of the text with the UTF-16 unit each starts at and the cells it takes (a
  // surrogate pair is one character; half of one shows as U+FFFD).
  struct Shown {
    int unit;
    char32_t code;
    int cells;
  };
  std::vector<Shown> shown;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t units = 1;
    char32_t code = kwhost::CodePointAt(text, i, &units);
    if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
    shown.push_back({static_cast<int>(i), code, CellsOf(code)});
    i += units;
  }
  // A text wider than the box scrolls to keep the caret in view (ES_AUTOHSCROLL): the first
  // character shown is the first from which the caret's cell still fits.
  std::size_t first = 0;
  auto cellsBetween = [&](std::size_t from) {
    int cells = 0;
    for (std::size_t k = from; k < shown.size() && shown[k].unit < caret; ++k)
      cells += shown[k].cells;
    return cells;
  };
  while (first < shown.size() && cellsBetween(first) > p.width - 1) ++first;
  const bool focused = GetFocus() == hWnd;
  Put(p.row, p.column - 1, "[", focused ? A_BOLD : A_NORMAL);
  int x = 0;
  for (std::size_t k = first; k < shown.size() && x + shown[k].cells <= p.width; ++k) {
    const bool selected = shown[k].unit >= sel.first && shown[k].unit < sel.second;
    std::string one;
    kwhost::AppendUtf8(one, shown[k].code);
    Put(p.row, p.column + x, one, selected ? (look ^ A_REVERSE) : look);
    x += shown[k].cells;
  }
  for (; x < p.width; ++x) Put(p.row, p.column + x, " ", look);
  Put(p.row, p.column + p.width, "]", focused ? A_BOLD : A_NORMAL);
  if (focused) m_cursorRow = p.row, m_cursorColumn = p.column + cellsBetween(first);
}

void TerminalScreen::PlaceCursor() {
  if (m_cursorRow >= 0 && m_cursorRow < LINES && m_cursorColumn < COLS) {
    curs_set(1);
    move(m_cursorRow, m_cursorColumn);
  } else {
    curs_set(0);
  }
}

void TerminalScreen::Clear() {
  erase();
  m_cursorRow = m_cursorColumn = -1;
}

void TerminalScreen::Show() {
  PlaceCursor();
  refresh();
}

}  // namespace kwterminal
