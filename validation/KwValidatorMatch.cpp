// The template matcher that KwValidator offers to concrete validators.
//
// A template is a text of positions: a letter stands for any letter, a digit for any digit, '?'
// for any character, and any other character is a literal that the result carries in its place.
// Matching brings the data into the template's form: letters raised to upper case, literals put
// in where the data has another separator or none. Classification is the classic locale's:
// the ASCII letters and digits only; no byte from 0x80 to 0xFF is a letter or a digit.
#include "core/KwValidator.h"

namespace {

// The working text holds at most this many characters; longer data is a mismatch at the
// position after them.
constexpr std::size_t kMaxDataLength = 999;
// Templates are read up to this many positions (see IsErrMatchTemplate).
constexpr std::size_t kMaxTemplateLength = 254;

bool IsLetter(char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
char Raise(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; }

}  // namespace

int KwValidator::CmpAlphaNumericCh(char dataCh, char tmplCh) {
  if ((dataCh == '\0') != (tmplCh == '\0')) return 1;
  const bool dataLetter = IsLetter(dataCh);
  const bool dataDigit = !dataLetter && IsDigit(dataCh);
  if (IsLetter(tmplCh)) return dataLetter ? 0 : 1;
  if (IsDigit(tmplCh)) return dataDigit ? 0 : 1;
  return (dataLetter || dataDigit) ? 3 : 2;
}

// Returns 0 and replaces data with its normalised form when it matches tmpl; otherwise returns
// the 1-based position in data where matching failed and leaves data as it was.
//
// Trailing spaces of the data are ignored. The end of the template must meet the end of the
// data, and a literal is not supplied after the data has ended. A template longer than 254
// characters is compared over its first 255 positions without a test for the end of the data;
// the result keeps the first 254 positions.
int KwValidator::IsErrMatchTemplate(std::string& data, const char* tmpl) {
  if (data.size() > kMaxDataLength) return static_cast<int>(kMaxDataLength) + 1;
  if (tmpl == nullptr) tmpl = "";

  std::string w = data;
  const std::size_t trimmed = w.find_last_not_of(' ');
  w.erase(trimmed == std::string::npos ? 0 : trimmed + 1);

  // Only as much of the template is measured as is used: it need not end within the limit.
  std::size_t n = 0;
  while (n < kMaxTemplateLength && tmpl[n] != '\0') ++n;

  std::string r(n + 1, '\0');
  std::size_t p = 0;
  // w[p] at p == w.size() reads the string's terminating NUL: the end of the data.
  for (std::size_t i = 0; i <= n; ++i) {
    const char t = tmpl[i];
    if (t == '?') {
      if (p >= w.size()) return static_cast<int>(p) + 1;  // nothing left for the wildcard
      r[i] = Raise(w[p]);
      ++p;
      continue;
    }
    if (t == '\0') {
      // The end of the template: the data must have ended too.
      if (p < w.size()) return static_cast<int>(p) + 1;
      break;
    }
    switch (CmpAlphaNumericCh(w[p], t)) {
      case 0:
        r[i] = Raise(w[p]);
        ++p;
        break;
      case 2:
        r[i] = t;
        ++p;
        break;
      case 3:
        r[i] = t;
        break;
      default:
        return static_cast<int>(p) + 1;
    }
  }
  r.resize(n);
  data = r;
  return 0;
}
