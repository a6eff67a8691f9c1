/* KwMaskEdit's controls as window classes, for programs in any language.
 *
 * The library registers three Unicode window classes (global to the process) when it is loaded,
 * and again through KwRegisterControls. A window made of one of them, by CreateWindowEx or by a
 * dialog template's CONTROL statement, is a working masked edit control: the window's name is
 * its mask, the edit styles keep their meaning beside the KWS_ styles, and the messages below
 * drive it. The control belongs to its window and is freed with it.
 *
 * Valid C89 and C++; it needs nothing but the platform header. The resource compiler may include
 * it (RC_INVOKED): it sees the class names, styles and values only.
 *
 * Message values. The edit control's messages lie below WM_USER (0x0000-0x00FF) and in
 * 0x1500-0x15FF (ECM_FIRST); the common controls take 0x1000-0x17FF (one block of 0x100 each,
 * LVM_ to CBM_) and 0x2000-0x20FF (CCM_), and the dialog manager and rich edit control take
 * WM_USER upwards. Ours are 0x1900-0x19FF, a block that none of them uses, so a message meant for
 * the masked edit control sent to an edit or common control is answered with its usual 0.
 *
 * Styles. The edit control's own styles take the low word's bits up to 0x2000 (ES_NUMBER); Wine
 * keeps 0x0200 for a combo box's edit. KWS_AUTOTAB and KWS_OVERWRITE take the two bits above. */
#ifndef KWMASKEDITCONTROLS_H
#define KWMASKEDITCONTROLS_H

#ifndef RC_INVOKED
#ifdef _WIN32
#include <windows.h>
#else
#include "platform/sim/simwin32.h"
#endif
#endif

/* Wide literals of the platform's WCHAR. */
#ifdef _WIN32
#define KW_CONTROLS_WIDE_(text) L##text
#else
#define KW_CONTROLS_WIDE_(text) u##text
#endif
#define KW_CONTROLS_WIDE(text) KW_CONTROLS_WIDE_(text)

/* Class names. */
#define KWC_CHARACTERMASKEDEDITA "KwCharacterMaskedEdit"
#define KWC_FIELDMASKEDEDITA "KwFieldMaskedEdit"
#define KWC_NUMBERMASKEDEDITA "KwNumberMaskedEdit"
#define KWC_CHARACTERMASKEDEDITW KW_CONTROLS_WIDE("KwCharacterMaskedEdit")
#define KWC_FIELDMASKEDEDITW KW_CONTROLS_WIDE("KwFieldMaskedEdit")
#define KWC_NUMBERMASKEDEDITW KW_CONTROLS_WIDE("KwNumberMaskedEdit")

/* Styles, beside the edit styles (ES_READONLY, ES_AUTOHSCROLL, ES_LEFT/CENTER/RIGHT). */
#define KWS_AUTOTAB 0x4000L   /* a filled control hands the focus to the next tab stop */
#define KWS_OVERWRITE 0x8000L /* starts in overwrite mode, not insert mode */

/* Messages. Where text crosses, an A form speaks the ANSI code page and a W form UTF-16. */
#define KWM_FIRST 0x1900
#define KWM_SETMASKA 0x1900 /* lParam: the mask (NULL: none); TRUE */
#define KWM_SETMASKW 0x1901
#define KWM_GETMASKA 0x1902 /* wParam: size in characters, lParam: buffer; see below */
#define KWM_GETMASKW 0x1903
#define KWM_GETDATAA 0x1904 /* the entered characters only */
#define KWM_GETDATAW 0x1905
#define KWM_GETPROMPTEDDATAA 0x1906 /* one character per input position */
#define KWM_GETPROMPTEDDATAW 0x1907
#define KWM_SETDATAA 0x1908 /* lParam: the data (NULL: empty); TRUE */
#define KWM_SETDATAW 0x1909
#define KWM_SETPROMPT 0x190A     /* wParam: the character (a WCHAR); TRUE when taken */
#define KWM_GETPROMPT 0x190B     /* the prompt character (0 for the field control) */
#define KWM_SETINSERTMODE 0x190C /* wParam: BOOL; TRUE */
#define KWM_GETINSERTMODE 0x190D
#define KWM_SETAUTOTAB 0x190E /* wParam: BOOL; TRUE */
#define KWM_GETAUTOTAB 0x190F
#define KWM_GETVALUE 0x1910 /* lParam: double*; TRUE, FALSE for NULL */
#define KWM_VALIDATE 0x1911 /* what the validation returns: 0 fine, else a position */
#define KWM_SETSTATE 0x1912 /* wParam: KWSTATE_ bits; TRUE when changed, FALSE if unknown */
#define KWM_GETSTATE 0x1913
#define KWM_SETCOLOR 0x1914        /* wParam: KWCOLOR_, lParam: COLORREF; TRUE, FALSE if unknown */
#define KWM_SETVALIDATEPROC 0x1915 /* lParam: KWVALIDATEPROC or NULL, wParam: its user value */
#define KWM_GETREJECTION 0x1916    /* wParam: int* position or NULL, lParam: WCHAR* or NULL */
#define KWM_SETNOTIFYREJECTIONS 0x1917 /* wParam: BOOL; TRUE */
/* What a screen reader hears of the control (as its accessible object says it): the value (what
 * the user entered, without prompts), the description (what it expects, how far the user is)
 * and the help (the last refusal in words). */
#define KWM_GETACCVALUEA 0x1918
#define KWM_GETACCVALUEW 0x1919
#define KWM_GETACCDESCRIPTIONA 0x191A
#define KWM_GETACCDESCRIPTIONW 0x191B
#define KWM_GETACCHELPA 0x191C
#define KWM_GETACCHELPW 0x191D
#define KWM_LAST 0x19FF
/* The KWM_GET...DATA, KWM_GETMASK and KWM_GETACC... messages copy at most wParam - 1 characters and
 * a NUL and return the number copied without the NUL (0 for a size of 0); with a NULL buffer they
 * return the length needed, without the NUL. */

/* Notification (WM_COMMAND, HIWORD(wParam)): a key or paste was refused (see KWM_GETREJECTION). */
#ifndef KWN_REJECTED
#define KWN_REJECTED 0x0A00
#endif

/* States (KWM_SETSTATE), a bit set: an error bit wins over a warning bit. */
#define KWSTATE_NORMAL 0x00
#define KWSTATE_WARNING 0x02
#define KWSTATE_ERROR 0x04
#define KWSTATE_WARNING2 0x08
#define KWSTATE_ERROR2 0x10
#define KWSTATE_ALL 0x1E

/* Colours (KWM_SETCOLOR). */
#define KWCOLOR_TEXT 0
#define KWCOLOR_TEXTFOCUS 1
#define KWCOLOR_TEXTWARNING 2
#define KWCOLOR_TEXTERROR 3
#define KWCOLOR_BACK 4
#define KWCOLOR_BACKFOCUS 5
#define KWCOLOR_BACKWARNING 6
#define KWCOLOR_BACKERROR 7

/* Reasons of the last refusal (KWM_GETREJECTION). */
#define KWR_NONE 0
#define KWR_WRONGKIND 1       /* the character does not fit the position's kind */
#define KWR_FULL 2            /* no empty position left, or the integer part is full */
#define KWR_NOINPUTPOSITION 3 /* the caret or selection holds no input position */
#define KWR_NOMASK 4          /* no mask that could take the character */
#define KWR_CLIPBOARD 5       /* no text on the clipboard, or it could not be read */

#ifndef RC_INVOKED

#if defined(_WIN32) && !defined(KW_CONTROLS_BUILDING)
#define KW_CONTROLS_API __declspec(dllimport)
#elif defined(_WIN32)
#define KW_CONTROLS_API __declspec(dllexport)
#elif defined(__GNUC__)
#define KW_CONTROLS_API __attribute__((visibility("default")))
#else
#define KW_CONTROLS_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A validate procedure: gets the entered data, NUL-terminated, in a buffer of cchData characters
 * (at least twice the data plus 64, never fewer than 256); returns 0 when the data is fine or the
 * 1-based position of the first mistake, and may correct the data in place: the control then
 * takes the corrected data through its mask. A text that runs to the buffer's end is cut there. */
typedef int(CALLBACK* KWVALIDATEPROC)(HWND hwnd, WCHAR* data, int cchData, LPARAM user);

/* Registers the three classes (again); TRUE when they are registered. */
KW_CONTROLS_API BOOL WINAPI KwRegisterControls(void);

/* The template matcher: corrects data (a buffer of cchData characters, NUL-terminated) in place
 * and returns 0 when it matches the template, else the 1-based position of the first mismatch.
 * NULL data or template, or a size below 1, is a mismatch at 1 with nothing written. */
KW_CONTROLS_API int WINAPI KwMatchTemplateA(CHAR* data, int cchData, const CHAR* templ);
KW_CONTROLS_API int WINAPI KwMatchTemplateW(WCHAR* data, int cchData, const WCHAR* templ);

#ifdef __cplusplus
}
#endif

/* Message helpers. */
#define KwMask_SetMaskA(hwnd, mask) \
  ((BOOL)SendMessageA((hwnd), KWM_SETMASKA, 0, (LPARAM)(LPCSTR)(mask)))
#define KwMask_SetMaskW(hwnd, mask) \
  ((BOOL)SendMessageW((hwnd), KWM_SETMASKW, 0, (LPARAM)(LPCWSTR)(mask)))
#define KwMask_GetMaskA(hwnd, buf, cch) \
  ((int)SendMessageA((hwnd), KWM_GETMASKA, (WPARAM)(int)(cch), (LPARAM)(LPSTR)(buf)))
#define KwMask_GetMaskW(hwnd, buf, cch) \
  ((int)SendMessageW((hwnd), KWM_GETMASKW, (WPARAM)(int)(cch), (LPARAM)(LPWSTR)(buf)))
#define KwMask_GetDataA(hwnd, buf, cch) \
  ((int)SendMessageA((hwnd), KWM_GETDATAA, (WPARAM)(int)(cch), (LPARAM)(LPSTR)(buf)))
#define KwMask_GetDataW(hwnd, buf, cch) \
  ((int)SendMessageW((hwnd), KWM_GETDATAW, (WPARAM)(int)(cch), (LPARAM)(LPWSTR)(buf)))
#define KwMask_GetPromptedDataA(hwnd, buf, cch) \
  ((int)SendMessageA((hwnd), KWM_GETPROMPTEDDATAA, (WPARAM)(int)(cch), (LPARAM)(LPSTR)(buf)))
#define KwMask_GetPromptedDataW(hwnd, buf, cch) \
  ((int)SendMessageW((hwnd), KWM_GETPROMPTEDDATAW, (WPARAM)(int)(cch), (LPARAM)(LPWSTR)(buf)))
#define KwMask_SetDataA(hwnd, data) \
  ((BOOL)SendMessageA((hwnd), KWM_SETDATAA, 0, (LPARAM)(LPCSTR)(data)))
#define KwMask_SetDataW(hwnd, data) \
  ((BOOL)SendMessageW((hwnd), KWM_SETDATAW, 0, (LPARAM)(LPCWSTR)(data)))
#define KwMask_SetPrompt(hwnd, ch) \
  ((BOOL)SendMessageW((hwnd), KWM_SETPROMPT, (WPARAM)(WCHAR)(ch), 0))
#define KwMask_GetPrompt(hwnd) ((WCHAR)SendMessageW((hwnd), KWM_GETPROMPT, 0, 0))
#define KwMask_SetInsertMode(hwnd, on) \
  ((BOOL)SendMessageW((hwnd), KWM_SETINSERTMODE, (WPARAM)(BOOL)(on), 0))
#define KwMask_GetInsertMode(hwnd) ((BOOL)SendMessageW((hwnd), KWM_GETINSERTMODE, 0, 0))
#define KwMask_SetAutoTab(hwnd, on) \
  ((BOOL)SendMessageW((hwnd), KWM_SETAUTOTAB, (WPARAM)(BOOL)(on), 0))
#define KwMask_GetAutoTab(hwnd) ((BOOL)SendMessageW((hwnd), KWM_GETAUTOTAB, 0, 0))
#define KwMask_GetValue(hwnd, pValue) \
  ((BOOL)SendMessageW((hwnd), KWM_GETVALUE, 0, (LPARAM)(double*)(pValue)))
#define KwMask_Validate(hwnd) ((int)SendMessageW((hwnd), KWM_VALIDATE, 0, 0))
#define KwMask_SetState(hwnd, state) \
  ((BOOL)SendMessageW((hwnd), KWM_SETSTATE, (WPARAM)(int)(state), 0))
#define KwMask_GetState(hwnd) ((int)SendMessageW((hwnd), KWM_GETSTATE, 0, 0))
#define KwMask_SetColor(hwnd, which, color) \
  ((BOOL)SendMessageW((hwnd), KWM_SETCOLOR, (WPARAM)(int)(which), (LPARAM)(COLORREF)(color)))
#define KwMask_SetValidateProc(hwnd, proc, user) \
  ((BOOL)SendMessageW((hwnd), KWM_SETVALIDATEPROC, (WPARAM)(user), (LPARAM)(KWVALIDATEPROC)(proc)))
#define KwMask_GetRejection(hwnd, pPos, pCh) \
  ((int)SendMessageW((hwnd), KWM_GETREJECTION, (WPARAM)(int*)(pPos), (LPARAM)(WCHAR*)(pCh)))
#define KwMask_SetNotifyRejections(hwnd, on) \
  ((BOOL)SendMessageW((hwnd), KWM_SETNOTIFYREJECTIONS, (WPARAM)(BOOL)(on), 0))
#define KwMask_GetAccValueA(hwnd, buf, cch) \
  ((int)SendMessageA((hwnd), KWM_GETACCVALUEA, (WPARAM)(int)(cch), (LPARAM)(LPSTR)(buf)))
#define KwMask_GetAccValueW(hwnd, buf, cch) \
  ((int)SendMessageW((hwnd), KWM_GETACCVALUEW, (WPARAM)(int)(cch), (LPARAM)(LPWSTR)(buf)))
#define KwMask_GetAccDescriptionA(hwnd, buf, cch) \
  ((int)SendMessageA((hwnd), KWM_GETACCDESCRIPTIONA, (WPARAM)(int)(cch), (LPARAM)(LPSTR)(buf)))
#define KwMask_GetAccDescriptionW(hwnd, buf, cch) \
  ((int)SendMessageW((hwnd), KWM_GETACCDESCRIPTIONW, (WPARAM)(int)(cch), (LPARAM)(LPWSTR)(buf)))
#define KwMask_GetAccHelpA(hwnd, buf, cch) \
  ((int)SendMessageA((hwnd), KWM_GETACCHELPA, (WPARAM)(int)(cch), (LPARAM)(LPSTR)(buf)))
#define KwMask_GetAccHelpW(hwnd, buf, cch) \
  ((int)SendMessageW((hwnd), KWM_GETACCHELPW, (WPARAM)(int)(cch), (LPARAM)(LPWSTR)(buf)))

#endif /* RC_INVOKED */

/* The plain names follow UNICODE, as the platform's own do. */
#ifdef UNICODE
#define KWC_CHARACTERMASKEDEDIT KWC_CHARACTERMASKEDEDITW
#define KWC_FIELDMASKEDEDIT KWC_FIELDMASKEDEDITW
#define KWC_NUMBERMASKEDEDIT KWC_NUMBERMASKEDEDITW
#define KWM_SETMASK KWM_SETMASKW
#define KWM_GETMASK KWM_GETMASKW
#define KWM_GETDATA KWM_GETDATAW
#define KWM_GETPROMPTEDDATA KWM_GETPROMPTEDDATAW
#define KWM_SETDATA KWM_SETDATAW
#define KWM_GETACCVALUE KWM_GETACCVALUEW
#define KWM_GETACCDESCRIPTION KWM_GETACCDESCRIPTIONW
#define KWM_GETACCHELP KWM_GETACCHELPW
#define KwMatchTemplate KwMatchTemplateW
#define KwMask_SetMask KwMask_SetMaskW
#define KwMask_GetMask KwMask_GetMaskW
#define KwMask_GetData KwMask_GetDataW
#define KwMask_GetPromptedData KwMask_GetPromptedDataW
#define KwMask_SetData KwMask_SetDataW
#define KwMask_GetAccValue KwMask_GetAccValueW
#define KwMask_GetAccDescription KwMask_GetAccDescriptionW
#define KwMask_GetAccHelp KwMask_GetAccHelpW
#else
#define KWC_CHARACTERMASKEDEDIT KWC_CHARACTERMASKEDEDITA
#define KWC_FIELDMASKEDEDIT KWC_FIELDMASKEDEDITA
#define KWC_NUMBERMASKEDEDIT KWC_NUMBERMASKEDEDITA
#define KWM_SETMASK KWM_SETMASKA
#define KWM_GETMASK KWM_GETMASKA
#define KWM_GETDATA KWM_GETDATAA
#define KWM_GETPROMPTEDDATA KWM_GETPROMPTEDDATAA
#define KWM_SETDATA KWM_SETDATAA
#define KWM_GETACCVALUE KWM_GETACCVALUEA
#define KWM_GETACCDESCRIPTION KWM_GETACCDESCRIPTIONA
#define KWM_GETACCHELP KWM_GETACCHELPA
#define KwMatchTemplate KwMatchTemplateA
#define KwMask_SetMask KwMask_SetMaskA
#define KwMask_GetMask KwMask_GetMaskA
#define KwMask_GetData KwMask_GetDataA
#define KwMask_GetPromptedData KwMask_GetPromptedDataA
#define KwMask_SetData KwMask_SetDataA
#define KwMask_GetAccValue KwMask_GetAccValueA
#define KwMask_GetAccDescription KwMask_GetAccDescriptionA
#define KwMask_GetAccHelp KwMask_GetAccHelpA
#endif

#endif /* KWMASKEDITCONTROLS_H */
