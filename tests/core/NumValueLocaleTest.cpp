// The number value of a control's data (GetDataNumValue) reads '.' as the decimal point whatever
// locale the host set for the C runtime: the same table in the "C" locale and in a German one,
// where the runtime itself reads "12.5" as 12.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <memory>
#include <string>

#include "character/KwCharacterMaskedEdit.h"
#include "common/TestHost.h"
#include "number/KwNumberMaskedEdit.h"

namespace {

struct ValueCase {
  const char* name;
  // 'c' a character control taking any printable character, 'p' one without a mask in a window
  // (the window keeps any text), 'n' a number control ('%')
  char control;
  const char* data;
  double value;
};
void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

double ValueOf(const ValueCase& c) {
  std::unique_ptr<KwMaskedEdit> edit;
  if (c.control == 'n') {
    edit = std::make_unique<KwNumberMaskedEdit>("%");
  } else if (c.control == 'p') {
    edit = std::make_unique<KwCharacterMaskedEdit>();
    EXPECT_TRUE(edit->Create(kwtest::kEditStyle, kwtest::EditRect(1), kwtest::ParentWnd(), 1));
  } else {
    edit = std::make_unique<KwCharacterMaskedEdit>(std::string(24, '&').c_str());
  }
  edit->SetText(c.data);
  double value = -99;
  EXPECT_TRUE(edit->GetDataNumValue(value));
  if (edit->GetSafeHwnd() != nullptr) edit->DestroyWindow();
  return value;
}

// Sets the C runtime's numeric locale for its lifetime and puts the one before it back.
class NumericLocale {
 public:
  explicit NumericLocale(const char* name) : m_before(std::setlocale(LC_NUMERIC, nullptr)) {
    m_set = std::setlocale(LC_NUMERIC, name) != nullptr;
  }
  ~NumericLocale() { std::setlocale(LC_NUMERIC, m_before.c_str()); }
  NumericLocale(const NumericLocale&) = delete;
  NumericLocale& operator=(const NumericLocale&) = delete;
  bool set() const { return m_set; }

 private:
  std::string m_before;
  bool m_set = false;
};

class NumValue : public kwtest::WindowTest, public ::testing::WithParamInterface<ValueCase> {};

// A number beyond a double's range without an exponent.
const std::string kManyDigits = "1" + std::string(320, '0');
const std::string kManyZeros = "0." + std::string(330, '0') + "1";

TEST_P(NumValue, InTheCLocale) {
  NumericLocale locale("C");
  ASSERT_TRUE(locale.set());
  EXPECT_EQ(ValueOf(GetParam()), GetParam().value);
}

TEST_P(NumValue, InAGermanLocale) {
  // The POSIX name natively (tools/setup.sh generates it); the C runtime's name under Windows.
  std::unique_ptr<NumericLocale> locale;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "German"}) {
    locale = std::make_unique<NumericLocale>(name);
    if (locale->set()) break;
    locale.reset();
  }
  if (!locale) GTEST_SKIP() << "no German locale on this system (tools/setup.sh test makes one)";
  ASSERT_EQ(std::localeconv()->decimal_point, std::string(","))
      << "the locale reads ',' as the decimal point";
  EXPECT_EQ(ValueOf(GetParam()), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Data, NumValue,
    ::testing::Values(
        ValueCase{"Fraction", 'c', "12.5", 12.5}, ValueCase{"Negative", 'c', "-1234.75", -1234.75},
        ValueCase{"LeadingBlanks", 'c', "   7.25", 7.25}, ValueCase{"PlusSign", 'c', "+3.5", 3.5},
        ValueCase{"PointFirst", 'c', ".5", 0.5}, ValueCase{"Exponent", 'c', "2.5E-1", 0.25},
        ValueCase{"ExponentWithoutDigits", 'c', "1e", 1.0},
        ValueCase{"Hexadecimal", 'c', "0x1A", 26.0},
        ValueCase{"HexadecimalWithoutDigits", 'c', "0xg", 0.0},
        ValueCase{"HexadecimalFraction", 'c', "0X.8p+1", 1.0},
        ValueCase{"HexadecimalUpperCase", 'c', "0XaF", 175.0},
        ValueCase{"HexadecimalPointAlone", 'c', "0x.", 0.0},
        ValueCase{"HexadecimalOverflow", 'c', "0x1P+99999", HUGE_VAL},
        ValueCase{"HexadecimalUnderflow", 'c', "0x0.01p-99999", 0.0},
        // The edit control keeps a single line: no line breaks among the blanks here.
        ValueCase{"ControlBlanks", 'p', "\t\v\f 2", 2.0},
        ValueCase{"ControlCharacterIsNoBlank", 'p',
                  "\x01"
                  "2",
                  0.0},
        ValueCase{"HexadecimalUpperCaseDigit", 'c', "0xB", 11.0},
        ValueCase{"HexadecimalPointThenNoDigit", 'c', "0x.g", 0.0},
        ValueCase{"HexadecimalOverflowSmallP", 'c', "0x1p99999", HUGE_VAL},
        ValueCase{"SignThenPlus", 'c', "-+5", 0.0},
        ValueCase{"OverflowSignedExponent", 'c', "1e+400", HUGE_VAL},
        ValueCase{"OverflowUpperCaseExponent", 'c', "1E400", HUGE_VAL},
        ValueCase{"HexadecimalPointAloneInPlainText", 'p', "0x.", 0.0},
        ValueCase{"OverflowByDigitsAlone", 'p', kManyDigits.c_str(), HUGE_VAL},
        ValueCase{"UnderflowByZerosAlone", 'p', kManyZeros.c_str(), 0.0},
        ValueCase{"SignThenBlank", 'c', "- 2", 0.0},
        ValueCase{"CommaEndsTheNumber", 'c', "12,5", 12.0},
        ValueCase{"GroupedThousands", 'c', "1,234.5", 1.0},
        ValueCase{"TextAfterTheNumber", 'c', "4.5kg", 4.5}, ValueCase{"NoNumber", 'c', "abc", 0.0},
        ValueCase{"Empty", 'c', "", 0.0}, ValueCase{"SignAlone", 'c', "-", 0.0},
        ValueCase{"TwoSigns", 'c', "--5", 0.0}, ValueCase{"Infinity", 'c', "-INF", -HUGE_VAL},
        ValueCase{"Overflow", 'c', "1e999", HUGE_VAL},
        ValueCase{"OverflowByDigits", 'c', "9999999999e300", HUGE_VAL},
        ValueCase{"NegativeOverflow", 'c', "-1e400", -HUGE_VAL},
        ValueCase{"Underflow", 'c', "1e-999", 0.0},
        ValueCase{"UnderflowByZeros", 'c', "0.000001e-320", 0.0},
        ValueCase{"Number", 'n', "1234.5", 1234.5},
        ValueCase{"NegativeNumber", 'n', "-0.25", -0.25},
        ValueCase{"WholeNumber", 'n', "987654321", 987654321.0}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

}  // namespace
