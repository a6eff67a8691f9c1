#include "TestHost.h"

#include <cstdio>

#include "Fenced.h"

namespace kwtest {

namespace {

void FailTest(const std::string& what) { ADD_FAILURE() << what; }

// Installed before any test runs, so that input driven outside a WindowTest fails too.
const ErrorHandler g_previous = SetErrorHandler(FailTest);

}  // namespace

void WindowTest::SetUp() {
  (void)g_previous;
  ParentWnd();
  ReleaseModifiers();
  Focus(Parent());
  EmptyClipboardNow();
  Pump();
  ClearNotifications();
  ResetBeeps();
}

void WindowTest::TearDown() {
  ReleaseModifiers();
  Focus(Parent());
  for (HWND h : m_created)
    if (IsWindow(h)) DestroyWindow(h);
  m_created.clear();
  Pump();
  ReleaseFences();
}

HWND WindowTest::CreateEdit(int id, const char* text, DWORD style) {
  const RECT r = EditRect(id);
  HWND h =
      CreateWindowExA(0, "EDIT", text, style ? style : kEditStyle, r.left, r.top, r.right - r.left,
                      r.bottom - r.top, Parent(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      GetModuleHandleA(nullptr), nullptr);
  EXPECT_NE(h, nullptr) << "cannot create an edit control";
  if (h) m_created.push_back(h);
  return h;
}

std::string Hex(const KwWString& s) {
  std::string out;
  char buf[8];
  for (std::size_t i = 0; i < s.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%s%04X", i ? " " : "", static_cast<unsigned>(s[i]));
    out += buf;
  }
  return out;
}

}  // namespace kwtest
