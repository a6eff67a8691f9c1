// The terminal as the screen of the simulated window system: it paints windows cell for cell
// (one cell is kwdemo::kCellWidth x kCellHeight pixels) from what the Win32 subset answers, as
// a window system paints its windows: the window text (WM_GETTEXT), the selection and caret of
// an edit control (EM_GETSEL), the focus (GetFocus), and the colours the parent answers to
// WM_CTLCOLOREDIT (which the framework reflects to the control). On a terminal without colours,
// or with NO_COLOR set, colours become attributes: a neutral background plain, a blue or green
// one bold, an amber one underlined, a red one reversed.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "platform/win32.h"

namespace kwterminal {

class TerminalScreen {
 public:
  // Takes the terminal over (ncurses: raw keys, keypad, no echo); the destructor gives it back.
  TerminalScreen();
  ~TerminalScreen();
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  bool Colour() const { return m_colour; }
  int Rows() const;
  int Columns() const;

  // Where a child window of hFrame sits, in cells: column, row and width.
  struct Place {
    int column = 0, row = 0, width = 0;
  };
  static Place PlaceOf(HWND hFrame, HWND hWnd);

  // A plain window: its text at its place.
  void PaintLabel(HWND hFrame, HWND hWnd);
  // An edit control: a box of its width between brackets, in the colours its parent answers,
  // the selection reversed, the text scrolled to keep the caret in view. When it has the focus
  // the terminal's cursor goes to its caret (see PlaceCursor).
  void PaintEdit(HWND hFrame, HWND hWnd);

  // UTF-8 text at a cell with an attribute (A_BOLD, A_REVERSE, ...), clipped to the screen's
  // width; a wide character (East Asian) takes two cells.
  void Put(int row, int column, const std::string& text, int attributes = 0);
  // The attribute that shows text and background colours (a colour pair, or attributes on a
  // screen without colours).
  int Look(COLORREF text, COLORREF background);

  // Shows the cursor at the focused edit control's caret, or hides it.
  void PlaceCursor();
  void Clear();
  void Show();

 private:
  bool m_colour = false;
  bool m_256 = false;
  std::map<std::pair<short, short>, short> m_pairs;
  int m_cursorRow = -1, m_cursorColumn = -1;
};

// The text (UTF-8 of its UTF-16) and selection (in UTF-16 units) of a window as the Win32
// subset answers them.
std::string WindowText(HWND hWnd);
std::pair<int, int> Selection(HWND hEdit);

// How many terminal cells UTF-8 text takes, and the text padded with spaces to width cells.
int Cells(const std::string& text);
std::string PadCells(std::string text, int width);

}  // namespace kwterminal
