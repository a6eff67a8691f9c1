// What the README's examples take from the host around them: a frame window (the host
// library's parent window), its message loop and keyboard input, and a check that counts what
// does not hold what the README says it holds.
#pragma once

#include <cstdio>
#include <string>

#include "KwMaskEdit.h"
#include "host/KeyScript.h"
#include "host/KwHost.h"

namespace snippets {
extern int failures;
}

inline void Pump(CWnd&) { kwhost::Pump(); }
inline void Type(CWnd&, const char* text) { kwhost::Keys(text); }

inline void Check(const std::string& what, const std::string& got, const std::string& expected) {
  if (got == expected) return;
  std::printf("FAILED: %s is '%s', the README says '%s'\n", what.c_str(), got.c_str(),
              expected.c_str());
  ++snippets::failures;
}

// One function per example, each run on the frame by main.cpp.
void PhoneDialogExample(CWnd& frame);
void NumberExample(CWnd& frame);
void FieldRowExample(CWnd& frame);
void ValidatorExample(CWnd& frame);
void HistoryExample(CWnd& frame);
