// Common definitions of the application framework layer.
#pragma once

#include "platform/win32.h"

// The framework is a library of its own, shared by a host and the extension modules it loads.
#if defined(_WIN32) && defined(KWFW_SHARED)
#if defined(KWFW_BUILDING)
#define KWFW_API __declspec(dllexport)
#else
#define KWFW_API __declspec(dllimport)
#endif
#elif defined(KWFW_SHARED)
#define KWFW_API __attribute__((visibility("default")))
#else
#define KWFW_API
#endif

// The reflected form of a child's message: the parent hands it back to the child as
// WM_REFLECT_BASE + message (the control-colour message 0x0019 comes back as 0xBC19).
#define WM_REFLECT_BASE 0xBC00
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
#ifndef CTLCOLOR_EDIT
#define CTLCOLOR_EDIT 1
#endif
#ifndef CTLCOLOR_STATIC
#define CTLCOLOR_STATIC 6
#endif

struct CPoint : public POINT {
  CPoint() {
    x = 0;
    y = 0;
  }
  CPoint(int initX, int initY) {
    x = initX;
    y = initY;
  }
  explicit CPoint(LPARAM lParam) {
    x = GET_X_LPARAM(lParam);
    y = GET_Y_LPARAM(lParam);
  }
};

struct CRect : public RECT {
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  CRect(const RECT& r) : RECT(r) {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};
