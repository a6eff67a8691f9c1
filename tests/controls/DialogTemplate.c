/* The form of DialogHost.rc, control by control, and the builder of its template. */
#include "tests/controls/DialogTemplate.h"

#include "controls/KwMaskEditControls.h"
#include "tests/controls/DialogIds.h"

/* One control as the template holds it: a class by name, or a predefined class by ordinal
 * (0x80 button, 0x81 edit, 0x82 static); the style of the statement, with WS_CHILD and
 * WS_VISIBLE, which every statement adds. */
struct FormControl {
  const char* className;
  WORD ordinal;
  const char* text;
  DWORD id;
  DWORD style;
  short x, y, cx, cy;
};

#define KW_BUTTON 0x80
#define KW_EDIT 0x81
#define KW_STATIC 0x82
#define KW_LTEXT (SS_LEFT | WS_GROUP)                  /* LTEXT */
#define KW_EDITTEXT (ES_LEFT | WS_BORDER | WS_TABSTOP) /* EDITTEXT */

static const struct FormControl kForm[] = {
    {NULL, KW_STATIC, "Phone", (DWORD)-1, KW_LTEXT, 7, 9, 50, 8},
    {KWC_CHARACTERMASKEDEDITA, 0, "(###) ###-####", IDC_PHONE, WS_TABSTOP | WS_BORDER | KWS_AUTOTAB,
     60, 7, 90, 12},
    {NULL, KW_STATIC, "Code", (DWORD)-1, KW_LTEXT, 7, 25, 50, 8},
    {KWC_FIELDMASKEDEDITA, 0, ">", IDC_CODE, WS_TABSTOP | WS_BORDER | KWS_AUTOTAB, 60, 23, 40, 12},
    {NULL, KW_STATIC, "Amount", (DWORD)-1, KW_LTEXT, 7, 41, 50, 8},
    {KWC_NUMBERMASKEDEDITA, 0, "%", IDC_AMOUNT, WS_TABSTOP | WS_BORDER | ES_RIGHT | KWS_OVERWRITE,
     60, 39, 90, 12},
    {NULL, KW_STATIC, "Note", (DWORD)-1, KW_LTEXT, 7, 57, 50, 8},
    {NULL, KW_EDIT, "", IDC_PLAIN, KW_EDITTEXT | ES_AUTOHSCROLL, 60, 55, 90, 12},
    {NULL, KW_BUTTON, "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 86, 76, 50, 14},
    {NULL, KW_BUTTON, "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 143, 76, 50, 14},
};

static const DWORD kFormStyle = DS_MODALFRAME | DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
static const char kFormCaption[] = "KwMaskEdit in a dialog template";
static const char kFormFont[] = "MS Shell Dlg";
static const short kFormRect[4] = {0, 0, 200, 96};
static const WORD kFormPoints = 8;

/* Writes little-endian WORDs into the buffer, counting what does not fit. */
struct Writer {
  WORD* out;
  size_t room; /* in WORDs */
  size_t used;
};

static void Word(struct Writer* w, WORD v) {
  if (w->used < w->room) w->out[w->used] = v;
  ++w->used;
}

static void Dword(struct Writer* w, DWORD v) {
  Word(w, LOWORD(v));
  Word(w, HIWORD(v));
}

/* An ASCII text as a NUL-terminated UTF-16 string. */
static void Text(struct Writer* w, const char* s, int upper) {
  for (; *s; ++s) {
    char c = *s;
    if (upper && c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    Word(w, (WORD)(unsigned char)c);
  }
  Word(w, 0);
}

size_t KwBuildFormTemplate(void* buffer, size_t size, int upperClassNames) {
  struct Writer w;
  size_t i;
  w.out = (WORD*)buffer;
  w.room = size / sizeof(WORD);
  w.used = 0;
  Word(&w, 1);      /* version */
  Word(&w, 0xFFFF); /* signature: the extended form */
  Dword(&w, 0);     /* help identifier */
  Dword(&w, 0);     /* extended style */
  Dword(&w, kFormStyle);
  Word(&w, (WORD)(sizeof kForm / sizeof kForm[0]));
  for (i = 0; i < 4; ++i) Word(&w, (WORD)kFormRect[i]);
  Word(&w, 0); /* no menu */
  Word(&w, 0); /* the dialog class */
  Text(&w, kFormCaption, 0);
  Word(&w, kFormPoints);
  Word(&w, FW_DONTCARE);
  Word(&w, MAKEWORD(FALSE, DEFAULT_CHARSET)); /* not italic; the character set */
  Text(&w, kFormFont, 0);
  for (i = 0; i < sizeof kForm / sizeof kForm[0]; ++i) {
    const struct FormControl* c = &kForm[i];
    if (w.used % 2) Word(&w, 0); /* each control on a DWORD boundary */
    Dword(&w, 0);                /* help identifier */
    Dword(&w, 0);                /* extended style */
    Dword(&w, c->style | WS_CHILD | WS_VISIBLE);
    Word(&w, (WORD)c->x);
    Word(&w, (WORD)c->y);
    Word(&w, (WORD)c->cx);
    Word(&w, (WORD)c->cy);
    Dword(&w, c->id);
    if (c->className) {
      Text(&w, c->className, upperClassNames);
    } else {
      Word(&w, 0xFFFF);
      Word(&w, c->ordinal);
    }
    Text(&w, c->text, 0);
    Word(&w, 0); /* no creation data */
  }
  return w.used <= w.room ? w.used * sizeof(WORD) : 0;
}
