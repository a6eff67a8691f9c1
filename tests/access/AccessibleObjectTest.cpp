// The controls' accessible objects through the platform's own accessibility interfaces, as a
// screen reader takes them: AccessibleObjectFromWindow on the control's client, the standard
// answers kept (role, the name from the label before the control, state, location, window),
// value and description as the user types, deletes, pastes and undoes, a value set from
// outside, and a refused key heard (the alert through an in-context event hook, the help text).
// Windows build only (under Wine here).
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "controls/KwMaskEditControls.h"
#include "core/AnyControl.h"
#include "number/NumberTestSupport.h"

namespace kwtest {
namespace {

const char kPhone[] = "(###) ###-####";
const char kNumberSays[] = "number, up to 9 digits before the decimal point and 2 after";

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// A BSTR answer taken over: the text, or "(none)" without a string.
std::string Take(BSTR b) {
  if (b == nullptr) return "(none)";
  std::string out = Narrow(std::wstring(b, SysStringLen(b)));
  SysFreeString(b);
  return out;
}

VARIANT Self() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

// An interface pointer released at the end of its scope.
template <class I>
struct Held {
  I* p = nullptr;
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (p != nullptr) p->Release();
  }
  I* operator->() const { return p; }
};

class AccessibleObject : public AnyControlTest {
 protected:
  void SetUp() override {
    AnyControlTest::SetUp();
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(SUCCEEDED(com));
  }
  void TearDown() override {
    AnyControlTest::TearDown();
    for (HWND h : m_labels) DestroyWindow(h);
  }

  // A label, then the control: the label is the window before it, whose text names it.
  KwMaskedEdit& MakeLabelled(const char* label, char kind, const char* mask, UINT limit = 0,
                             DWORD style = kEditStyle, int id = 1) {
    const RECT r = EditRect(id);
    m_labels.push_back(CreateWindowExA(0, "STATIC", label, WS_CHILD | WS_VISIBLE, 0, r.top,
                                       r.left > 100 ? 100 : r.left, r.bottom - r.top, Parent(),
                                       nullptr, GetModuleHandleA(nullptr), nullptr));
    return Make(kind, mask, "", style, limit, id);
  }

  static void ObjectOf(const KwMaskedEdit& edit, Held<IAccessible>& object) {
    const HRESULT hr =
        AccessibleObjectFromWindow(edit.GetSafeHwnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object.p));
    ASSERT_EQ(hr, S_OK);
    ASSERT_NE(object.p, nullptr);
  }

  static std::string Value(IAccessible* object) {
    BSTR b = nullptr;
    const HRESULT hr = object->get_accValue(Self(), &b);
    return hr == S_OK ? Take(b) : "hr " + std::to_string(hr);
  }
  static std::string Description(IAccessible* object) {
    BSTR b = nullptr;
    const HRESULT hr = object->get_accDescription(Self(), &b);
    return hr == S_OK ? Take(b) : hr == S_FALSE ? Take(b) : "hr " + std::to_string(hr);
  }
  static std::string Help(IAccessible* object) {
    BSTR b = nullptr;
    const HRESULT hr = object->get_accHelp(Self(), &b);
    return hr == S_OK ? Take(b) : hr == S_FALSE ? Take(b) : "hr " + std::to_string(hr);
  }

  std::vector<HWND> m_labels;
};

// What the object says after each step of keys.
struct Step {
  const char* keys;
  const char* value;  // the number's written with ',' and '.'
  const char* description;
};

struct ObjectCase {
  const char* name;
  char kind;
  const char* mask;
  UINT limit;
  const char* label;
  const char* clip;
  std::vector<Step> steps;
};
void PrintTo(const ObjectCase& c, std::ostream* os) { *os << c.name; }

class HeardObject : public AccessibleObject, public ::testing::WithParamInterface<ObjectCase> {};

TEST_P(HeardObject, SaysWhatTheUserEntered) {
  const ObjectCase& c = GetParam();
  KwMaskedEdit& edit = MakeLabelled(c.label, c.kind, c.mask, c.limit);
  ASSERT_TRUE(SetClipboardText(c.clip));
  Ready(edit, 0, 0);
  Held<IAccessible> object;
  ObjectOf(edit, object);
  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(object->get_accRole(Self(), &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
  BSTR name = nullptr;
  EXPECT_EQ(object->get_accName(Self(), &name), S_OK);
  EXPECT_EQ(Take(name), c.label);
  for (const Step& step : c.steps) {
    Keys(step.keys);
    const std::string value = c.kind == 'n' ? Shown(step.value, c.mask[0]) : step.value;
    EXPECT_EQ(Value(object.p), value) << "after '" << step.keys << "', shown " << TextOf(edit);
    EXPECT_EQ(Description(object.p), step.description) << "after '" << step.keys << "'";
  }
}

const char kPhone0[] = "format (###) ###-####: 10 digits, 0 entered";

INSTANTIATE_TEST_SUITE_P(
    Controls, HeardObject,
    ::testing::Values(
        ObjectCase{"Phone",
                   'c',
                   kPhone,
                   0,
                   "Phone number",
                   "234",
                   {{"", "", kPhone0},
                    {"{Home}555", "(555", "format (###) ###-####: 10 digits, 3 entered"},
                    {"12", "(555) 12", "format (###) ###-####: 10 digits, 5 entered"},
                    {"{Back}", "(555) 1", "format (###) ###-####: 10 digits, 4 entered"},
                    {"{C+v}", "(555) 123-4", "format (###) ###-####: 10 digits, 7 entered"},
                    {"{C+z}", "(555) 1", "format (###) ###-####: 10 digits, 4 entered"},
                    {"{Home}{S+End}{Del}", "", kPhone0}}},
        ObjectCase{"Number",
                   'n',
                   "%",
                   0,
                   "Amount",
                   "9",
                   {{"", "", kNumberSays},
                    {"{C+v}", "9", kNumberSays},
                    {"234", "9,234", kNumberSays},
                    {".5", "9,234.5", kNumberSays},
                    {"{Back}", "9,234.", kNumberSays},
                    {"{C+z}", "9,234.5", kNumberSays}}},
        ObjectCase{"Field",
                   'f',
                   "#",
                   4,
                   "Code",
                   "34",
                   {{"", "", "up to 4 digits"},
                    {"12", "12", "up to 4 digits"},
                    {"{C+v}", "1234", "up to 4 digits"},
                    {"{End}{Back}{Back}", "12", "up to 4 digits"},
                    {"{C+z}", "1234", "up to 4 digits"}}}),
    [](const ::testing::TestParamInfo<ObjectCase>& info) { return std::string(info.param.name); });

// Everything else is the standard object's: the same answers as the edit control's own object.
TEST_F(AccessibleObject, KeepsTheStandardAnswers) {
  KwMaskedEdit& edit = MakeLabelled("Phone number", 'c', kPhone);
  Ready(edit, 1, 1);
  Held<IAccessible> object;
  ObjectOf(edit, object);
  Held<IAccessible> standard;
  ASSERT_EQ(CreateStdAccessibleObject(edit.GetSafeHwnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                      reinterpret_cast<void**>(&standard.p)),
            S_OK);
  VARIANT ours;
  VARIANT theirs;
  VariantInit(&ours);
  VariantInit(&theirs);
  ASSERT_EQ(object->get_accState(Self(), &ours), standard->get_accState(Self(), &theirs));
  EXPECT_EQ(ours.lVal, theirs.lVal);
  EXPECT_TRUE((ours.lVal & STATE_SYSTEM_FOCUSED) != 0) << "the control has the focus";
  long a[4] = {};
  long b[4] = {};
  ASSERT_EQ(object->accLocation(&a[0], &a[1], &a[2], &a[3], Self()), S_OK);
  ASSERT_EQ(standard->accLocation(&b[0], &b[1], &b[2], &b[3], Self()), S_OK);
  EXPECT_EQ(std::vector<long>(a, a + 4), std::vector<long>(b, b + 4));
  long children = -1;
  EXPECT_EQ(object->get_accChildCount(&children), S_OK);
  EXPECT_EQ(children, 0);
  HWND hwnd = nullptr;
  EXPECT_EQ(WindowFromAccessibleObject(object.p, &hwnd), S_OK);
  EXPECT_EQ(hwnd, edit.GetSafeHwnd());
  // A client calling by DISPID hears the same value.
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT byDispatch;
  VariantInit(&byDispatch);
  ASSERT_EQ(object->Invoke(DISPID_ACC_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                           &none, &byDispatch, nullptr, nullptr),
            S_OK);
  ASSERT_EQ(byDispatch.vt, VT_BSTR);
  EXPECT_EQ(Take(byDispatch.bstrVal), "");
  // The standard object itself still reads the window text, prompts and all.
  BSTR shown = nullptr;
  ASSERT_EQ(standard->get_accValue(Self(), &shown), S_OK);
  EXPECT_EQ(Take(shown), TextOf(edit));
  EXPECT_EQ(Value(object.p), "");
}

// A control made by the library's class name is no edit control to the standard object (it goes
// by the class name; under Wine a plain client named by its mask): the object still says
// editable text, named by the label before it.
TEST_F(AccessibleObject, ClassMadeControlIsNamedByItsLabel) {
  const RECT r = EditRect(1);
  m_labels.push_back(CreateWindowExW(0, L"STATIC", L"&Phone number:", WS_CHILD | WS_VISIBLE, 0,
                                     r.top, 100, r.bottom - r.top, Parent(), nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
  const HWND hwnd = CreateWindowExW(0, KWC_CHARACTERMASKEDEDITW, L"(###) ###-####", kEditStyle,
                                    r.left, r.top, r.right - r.left, r.bottom - r.top, Parent(),
                                    reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(hwnd, nullptr);
  m_labels.push_back(hwnd);  // destroyed with the labels
  Held<IAccessible> object;
  ASSERT_EQ(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&object.p)),
            S_OK);
  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(object->get_accRole(Self(), &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_TEXT);
  BSTR name = nullptr;
  EXPECT_EQ(object->get_accName(Self(), &name), S_OK);
  EXPECT_EQ(Take(name), "Phone number:");
  Focus(hwnd);
  SetSel(hwnd, 1, 1);
  Keys("55512");
  EXPECT_EQ(Value(object.p), "(555) 12");
  EXPECT_EQ(Description(object.p), "format (###) ###-####: 10 digits, 5 entered");
}

// A value set from outside goes through the mask as SetText does.
TEST_F(AccessibleObject, PutValueGoesThroughTheMask) {
  struct Row {
    char kind;
    const char* mask;
    DWORD style;
    const wchar_t* put;
    HRESULT hr;
    const char* value;  // the number's written with ',' and '.'
  };
  const Row rows[] = {
      {'c', kPhone, kEditStyle, L"(555) 123-4567", S_OK, "(555) 123-4567"},
      {'c', kPhone, kEditStyle, L"555 12", S_OK, "(555) 12"},
      {'c', kPhone, kEditStyle | ES_READONLY, L"5551234567", E_ACCESSDENIED, ""},
      {'n', "%", kEditStyle, L"1234.5", S_OK, "1,234.5"},
      {'f', "#", kEditStyle, L"12a3", S_OK, "123"},
  };
  int id = 1;
  for (const Row& row : rows) {
    KwMaskedEdit& edit =
        MakeLabelled("Value", row.kind, row.mask, 4 * (row.kind == 'f'), row.style, id++);
    Held<IAccessible> object;
    ObjectOf(edit, object);
    BSTR put = SysAllocString(row.put);
    EXPECT_EQ(object->put_accValue(Self(), put), row.hr) << Narrow(row.put);
    SysFreeString(put);
    const std::string value = row.kind == 'n' ? Shown(row.value, row.mask[0]) : row.value;
    EXPECT_EQ(Value(object.p), value) << Narrow(row.put);
    EXPECT_EQ(Narrow(edit.GetAccessibleValueW()), value);
  }
}

// The events of this process, with their object and child, from an in-context hook: it runs
// inside the call that raises the event.
struct WinEvent {
  DWORD event;
  HWND hwnd;
  LONG object;
  LONG child;
};
std::vector<WinEvent> g_events;
void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                          DWORD) {
  g_events.push_back(WinEvent{event, hwnd, object, child});
}

class EventHook {
 public:
  EventHook()
      : m_hook(SetWinEventHook(EVENT_MIN, EVENT_MAX, GetModuleHandleW(nullptr), RecordEvent,
                               GetCurrentProcessId(), 0, WINEVENT_INCONTEXT)) {
    g_events.clear();
  }
  EventHook(const EventHook&) = delete;
  EventHook& operator=(const EventHook&) = delete;
  ~EventHook() {
    if (m_hook != nullptr) UnhookWinEvent(m_hook);
  }
  bool ok() const { return m_hook != nullptr; }
  // The events of one kind raised for this window.
  static std::vector<WinEvent> Of(DWORD event, HWND hwnd) {
    std::vector<WinEvent> out;
    for (const WinEvent& e : g_events)
      if (e.event == event && e.hwnd == hwnd) out.push_back(e);
    return out;
  }

 private:
  HWINEVENTHOOK m_hook;
};

TEST_F(AccessibleObject, RefusedKeyIsHeard) {
  KwMaskedEdit& edit = MakeLabelled("Phone number", 'c', kPhone);
  Ready(edit, 1, 1);
  Held<IAccessible> object;
  ObjectOf(edit, object);
  const HWND hwnd = edit.GetSafeHwnd();
  EventHook hook;
  ASSERT_TRUE(hook.ok());
  Keys("555");
  EXPECT_TRUE(EventHook::Of(EVENT_SYSTEM_ALERT, hwnd).empty()) << "keys taken: no alert";
  EXPECT_EQ(Help(object.p), "(none)");
  Keys("x");
  const std::vector<WinEvent> alerts = EventHook::Of(EVENT_SYSTEM_ALERT, hwnd);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].object, OBJID_CLIENT);
  EXPECT_EQ(alerts[0].child, CHILDID_SELF);
  EXPECT_EQ(Help(object.p), "wrong kind at 6: 'x' is not a digit");
  Keys("1");
  EXPECT_EQ(Help(object.p), "(none)") << "a key taken: nothing to explain";
  EXPECT_EQ(EventHook::Of(EVENT_SYSTEM_ALERT, hwnd).size(), 1u);
}

// What the platform raises by itself for an edit control while the user works in it; printed
// for the record (Windows raises value changes of its own, Wine 8 raises none).
TEST_F(AccessibleObject, PlatformEventsMeasured) {
  EventHook hook;
  ASSERT_TRUE(hook.ok());
  KwMaskedEdit& edit = MakeLabelled("Phone number", 'c', kPhone);
  const HWND hwnd = edit.GetSafeHwnd();
  std::map<DWORD, int> created;
  for (const WinEvent& e : g_events)
    if (e.hwnd == hwnd) ++created[e.event];
  g_events.clear();
  Focus(hwnd);
  SetSel(hwnd, 1, 1);
  Pump();
  std::map<DWORD, int> focused;
  for (const WinEvent& e : g_events)
    if (e.hwnd == hwnd) ++focused[e.event];
  g_events.clear();
  Keys("555x{Back}");
  std::map<DWORD, int> typed;
  for (const WinEvent& e : g_events)
    if (e.hwnd == hwnd) ++typed[e.event];
  std::string line;
  char word[48];
  for (const auto& [event, n] : created) {
    std::snprintf(word, sizeof word, " made:0x%04lX*%d", static_cast<unsigned long>(event), n);
    line += word;
  }
  for (const auto& [event, n] : focused) {
    std::snprintf(word, sizeof word, " focused:0x%04lX*%d", static_cast<unsigned long>(event), n);
    line += word;
  }
  for (const auto& [event, n] : typed) {
    std::snprintf(word, sizeof word, " typed:0x%04lX*%d", static_cast<unsigned long>(event), n);
    line += word;
  }
  RecordProperty("platform_events", line);
  std::printf("platform events of the control:%s\n", line.c_str());
  // The one refusal among the keys raised the control's one alert.
  EXPECT_EQ(typed[EVENT_SYSTEM_ALERT], 1);
  if (OnWine()) {
    EXPECT_EQ(typed[EVENT_OBJECT_VALUECHANGE], 0) << "Wine 8 raises no value change";
  }
}

// A client may keep the object after the control is gone: it then answers as the standard
// object of a window that no longer exists, never from the freed control.
TEST_F(AccessibleObject, OutlivesTheControl) {
  KwMaskedEdit& edit = MakeLabelled("Phone number", 'c', kPhone);
  edit.SetText("55512");
  Held<IAccessible> object;
  ObjectOf(edit, object);
  EXPECT_EQ(Value(object.p), "(555) 12");
  m_controls.clear();
  BSTR b = nullptr;
  const HRESULT hr = object->get_accValue(Self(), &b);
  const std::string after = Take(b);
  EXPECT_NE(after, "(555) 12") << "hr " << hr;
}

}  // namespace
}  // namespace kwtest
