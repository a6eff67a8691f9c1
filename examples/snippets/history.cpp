// README, "Undo, redo and refused keys".
#include "SnippetHost.h"

namespace {

// snippet-begin rejected
// The parent's WM_COMMAND handler: KWN_REJECTED follows a refused key (after its beep) or paste.
void OnCommand(KwMaskedEdit& phone, WPARAM wParam) {
  if (HIWORD(wParam) != KWN_REJECTED) return;
  int pos = 0;
  char ch = '\0';
  switch (phone.GetLastRejection(&pos, &ch)) {
    case KwMaskedEdit::RejectWrongKind: /* ch does not fit the position pos */
      break;
    case KwMaskedEdit::RejectFull: /* nothing left to fill */
      break;
    case KwMaskedEdit::RejectClipboard: /* no text to paste */
      break;
    default:
      break;
  }
}
// snippet-end rejected

}  // namespace

void HistoryExample(CWnd& frame) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
  // snippet-begin undo
  KwCharacterMaskedEdit phone("(###) ###-####");
  phone.SetPromptSymbol('_');
  phone.Create(style, CRect(10, 10, 290, 36), &frame, 100);
  phone.SetNotifyRejections(true);  // KWN_REJECTED to the parent with each refusal
  phone.SetFocus();
  Type(frame, "555x12");  // 'x' is refused: wrong kind at 6
  // shows (555) 12_-____; phone.GetLastRejection() == KwMaskedEdit::RejectNone again
  // snippet-end undo
  Check("the typed phone", phone.GetWindowText(), "(555) 12_-____");
  // snippet-begin undo
  Type(frame, "{Home}9");  // (955) 512-____, a step of its own
  phone.Undo();            // or Ctrl+Z, WM_UNDO, EM_UNDO: (555) 12_-____
                           // snippet-end undo
  Check("the phone after one undo", phone.GetWindowText(), "(555) 12_-____");
  // snippet-begin undo
  phone.Undo();            // the typed run "555x12" was one step: (___) ___-____
  phone.Redo();            // or Ctrl+Y, Ctrl+Shift+Z: (555) 12_-____
  phone.SetUndoLimit(20);  // keep at most 20 steps (100 by default, 0: no undo)
                           // snippet-end undo
  Check("the phone after undo and redo", phone.GetWindowText(), "(555) 12_-____");
  Type(frame, "{End}a");
  int pos = -1;
  char ch = '\0';
  const int reason = phone.GetLastRejection(&pos, &ch);
  Check("the refusal", std::to_string(reason) + " " + std::to_string(pos) + " " + ch,
        std::to_string(KwMaskedEdit::RejectNoInputPosition) + " 14 a");
  OnCommand(phone, MAKEWPARAM(100, KWN_REJECTED));
  phone.DestroyWindow();
}
