// Runs the README's examples one after the other on one frame window and checks what they say
// the controls show and hold; exits nonzero when one does not.
#include "SnippetHost.h"

int snippets::failures = 0;

int main() {
  CWnd& frame = *kwhost::ParentWnd();
  PhoneDialogExample(frame);
  NumberExample(frame);
  FieldRowExample(frame);
  ValidatorExample(frame);
  HistoryExample(frame);
  std::printf("README examples: %s\n", snippets::failures == 0 ? "all as described" : "FAILED");
  return snippets::failures == 0 ? 0 : 1;
}
