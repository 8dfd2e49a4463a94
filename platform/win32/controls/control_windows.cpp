#include "platform/win32/controls/control_windows.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/keyboard_navigation.h"
#include "platform/win32/controls/control_classes.h"
#include "platform/win32/controls/control_font.h"
#include "platform/win32/system.h"

namespace platform::win32 {
namespace {

// Child ids start clear of IDOK and IDCANCEL, which the dialog keys send on their own.
constexpr int kFirstChildId = 0x100;
constexpr int kGroupBoxId = 0xFF;

void ShowSelected(const Control& control, HWND window) {
  const bool selected = static_cast<const OptionButton&>(control).value();
  SendMessageA(window, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ShowTicked(const Control& control, HWND window) {
  const int value = static_cast<const CheckBox&>(control).value();
  const WPARAM state = value == CheckBox::kChecked  ? BST_CHECKED
                       : value == CheckBox::kGrayed ? BST_INDETERMINATE
                                                    : BST_UNCHECKED;
  SendMessageA(window, BM_SETCHECK, state, 0);
}

// How the controls of one kind stand as child windows (each also WS_CHILD | WS_VISIBLE |
// WS_CLIPSIBLINGS).
struct ControlWindowKind {
  ControlKind kind;  // the row's own, so that the table cannot slip out of the enum's order
  const char* className;
  DWORD style = 0;
  DWORD exStyle = 0;
  bool systemClass = false;  // the system's: gets its control and its font after creation
  bool button = false;       // drawn unthemed: themed buttons ignore the text colour
  void (*showValue)(const Control&, HWND) = nullptr;
  bool optionGroup = false;    // a container's are one group, one tab stop (keyboard_navigation)
  bool holdsControls = false;  // a frame: its controls inside, a group box drawn around them
  bool showsPicture = false;   // painted anew with every change
  bool takesClicks = false;    // its BN_CLICKED is the user's click
};

constexpr std::array kKinds{
    ControlWindowKind{
        .kind = ControlKind::kLabel, .className = "STATIC", .style = SS_LEFT, .systemClass = true},
    // Not clipping its children: its group box covers it whole and never fills its inside, so
    // the frame's own fill has to reach under it.
    ControlWindowKind{.kind = ControlKind::kFrame,
                      .className = kFrameClass,
                      .exStyle = WS_EX_CONTROLPARENT,
                      .holdsControls = true},
    // Not an automatic button: the model decides what is checked.
    ControlWindowKind{.kind = ControlKind::kOptionButton,
                      .className = "BUTTON",
                      .style = BS_RADIOBUTTON | WS_TABSTOP,
                      .systemClass = true,
                      .button = true,
                      .showValue = &ShowSelected,
                      .optionGroup = true,
                      .takesClicks = true},
    // Three states, so that a greyed value shows; not automatic either.
    ControlWindowKind{.kind = ControlKind::kCheckBox,
                      .className = "BUTTON",
                      .style = BS_3STATE | WS_TABSTOP,
                      .systemClass = true,
                      .button = true,
                      .showValue = &ShowTicked,
                      .takesClicks = true},
    // Our own classes take their clicks and paint their pictures themselves.
    ControlWindowKind{
        .kind = ControlKind::kPictureBox, .className = kPictureBoxClass, .showsPicture = true},
    ControlWindowKind{.kind = ControlKind::kImage, .className = kImageClass, .showsPicture = true},
};

constexpr bool InKindOrder() {
  for (std::size_t i = 0; i < kKinds.size(); ++i)
    if (static_cast<std::size_t>(kKinds[i].kind) != i) return false;
  return true;
}
static_assert(InKindOrder() && kKinds.size() == static_cast<std::size_t>(ControlKind::kImage) + 1,
              "one row for each control kind, in the enum's order");

const ControlWindowKind& KindOf(const Control& control) {
  return kKinds[static_cast<std::size_t>(control.kind())];
}

HWND HandleOf(const Control& control) {
  return reinterpret_cast<HWND>(control.nativeHandle());
}

HMENU ChildId(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

void PrepareSystemChild(HWND window, Control& control, bool button) {
  StoreControl(window, &control);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
  // Themed buttons ignore the text colour; unthemed ones honour it on every system.
  using SetWindowThemeFunction = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto setWindowTheme =
      LibraryFunction<SetWindowThemeFunction>(L"uxtheme.dll", "SetWindowTheme");
  if (button && setWindowTheme != nullptr) setWindowTheme(window, L"", L"");
}

HWND CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                 const RECT& place, HWND parent, int id, Control& control) {
  HWND window = CreateWindowExA(exStyle, className, text.c_str(), style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, parent,
                                ChildId(id), GetModuleHandleA(nullptr), &control);
  if (window == nullptr)
    throw std::runtime_error("cannot create the window of control " + control.name());
  return window;
}

// Created after the frame's controls, so it lies below them and draws only around them.
void CreateGroupBox(Control& frame, HWND window, const RECT& place) {
  const RECT whole{0, 0, place.right - place.left, place.bottom - place.top};
  HWND groupBox =
      CreateChild("BUTTON", frame.caption(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX,
                  0, whole, window, kGroupBoxId, frame);
  PrepareSystemChild(groupBox, frame, true);
  SetGroupBox(window, groupBox);
}

RECT PixelRect(const Bounds& bounds, int twipsPerPixel) {
  const int left = TwipsToPixels(bounds.left, twipsPerPixel);
  const int top = TwipsToPixels(bounds.top, twipsPerPixel);
  return {left, top, left + TwipsToPixels(bounds.width, twipsPerPixel),
          top + TwipsToPixels(bounds.height, twipsPerPixel)};
}

void SetStyleBit(HWND window, DWORD bit, bool on) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const DWORD wanted = on ? (style | bit) : (style & ~bit);
  if (wanted != style) SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(wanted));
}

// Tab reaches an option group at its selected button, or at its first when none is selected;
// the arrow keys move within it.
void RefreshOptionTabStops(const Container& container) {
  const OptionButton* stop = GroupTabStop(container);
  for (const OptionButton* option : OptionGroup(container))
    if (HWND window = HandleOf(*option)) SetStyleBit(window, WS_TABSTOP, option == stop);
}

void ShowValue(const Control& control, HWND window) {
  if (const auto show = KindOf(control).showValue) show(control, window);
}

// A window's text: the control's caption; for a picture, which shows no text, the control's
// name, so that other programs (the end-to-end tests, a screen reader) can tell them apart.
std::string WindowText(const Control& control) {
  return KindOf(control).showsPicture ? control.name() : control.caption();
}

void ShowCaption(HWND window, const std::string& caption) {
  const int length = GetWindowTextLengthA(window);
  std::string current(static_cast<std::size_t>(length) + 1, '\0');
  current.resize(static_cast<std::size_t>(GetWindowTextA(window, current.data(), length + 1)));
  if (current != caption) SetWindowTextA(window, caption.c_str());
}

void ShowPlace(HWND window, const RECT& wanted) {
  RECT current{};
  GetWindowRect(window, &current);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&current), 2);
  if (EqualRect(&current, &wanted)) return;
  SetWindowPos(window, nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
               wanted.bottom - wanted.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void RouteCommand(WPARAM wParam, HWND child) {
  Control* control = ControlOf(child);
  if (control == nullptr) return;
  // A window blocked by a modal one takes no clicks, also none posted to its buttons.
  if (!IsWindowEnabled(GetAncestor(child, GA_ROOT))) return;
  if (HIWORD(wParam) == BN_CLICKED && KindOf(*control).takesClicks) control->UserClick();
}

std::optional<LRESULT> ControlColors(HDC dc, HWND child) {
  const Control* control = ControlOf(child);
  if (control == nullptr) return std::nullopt;
  const COLORREF back = ToColorRef(control->backColor());
  SetTextColor(dc, ToColorRef(control->foreColor()));
  SetBkColor(dc, back);
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(SolidBrush(back));
}

}  // namespace

int TwipsToPixels(int twips, int twipsPerPixel) {
  const int half = twipsPerPixel / 2;
  return twips >= 0 ? (twips + half) / twipsPerPixel : -((-twips + half) / twipsPerPixel);
}

COLORREF ToColorRef(Color color) {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

HBRUSH SolidBrush(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[color];
  if (brush == nullptr) brush = CreateSolidBrush(color);
  return brush;
}

void FillClient(HWND window, HDC dc, Color color) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, SolidBrush(ToColorRef(color)));
}

void CreateControlWindows(Container& container, HWND parent, int twipsPerPixel) {
  int id = kFirstChildId;
  const std::vector<OptionButton*> group = OptionGroup(container);
  // The windows lie in the order Tab visits the controls, so that the container's option group
  // is one run of windows: one group for the dialog keys, as for the arrow keys.
  for (Control* control : TabOrder(container)) {
    const ControlWindowKind& kind = KindOf(*control);
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
    const bool laterInGroup = kind.optionGroup && control != group.front();
    if (!laterInGroup) style |= WS_GROUP;

    const RECT place = PixelRect(control->bounds(), twipsPerPixel);
    HWND window = CreateChild(kind.className, WindowText(*control), style, kind.exStyle, place,
                              parent, id++, *control);
    if (kind.systemClass) PrepareSystemChild(window, *control, kind.button);
    // Windows' radio button clicks itself on getting the focus unselected; ours select only by
    // a click or the arrow keys (keyboard_navigation), so it is told not to.
    if (kind.optionGroup) SendMessageA(window, BM_SETDONTCLICK, TRUE, 0);
    control->setNativeHandle(reinterpret_cast<std::uintptr_t>(window));

    if (kind.holdsControls) {
      CreateControlWindows(static_cast<Frame&>(*control), window, twipsPerPixel);
      CreateGroupBox(*control, window, place);
    }
    ShowValue(*control, window);
  }
  RefreshOptionTabStops(container);
}

void ForgetControlWindows(Container& container) {
  for (Control* control : container.controls()) {
    control->setNativeHandle(0);
    if (auto* frame = dynamic_cast<Frame*>(control)) ForgetControlWindows(*frame);
  }
}

void UpdateControlWindow(Control& control, int twipsPerPixel) {
  HWND window = HandleOf(control);
  if (window == nullptr) return;
  const ControlWindowKind& kind = KindOf(control);
  ShowValue(control, window);
  if (kind.optionGroup) RefreshOptionTabStops(control.container());
  // A window not on the screen is painted whole when it comes there: the load handler's
  // pictures cost nothing before.
  if (kind.showsPicture && IsWindowVisible(window)) InvalidateRect(window, nullptr, TRUE);
  ShowPlace(window, PixelRect(control.bounds(), twipsPerPixel));
  ShowCaption(window, WindowText(control));
  if (kind.holdsControls) {
    if (HWND groupBox = GroupBoxOf(window)) ShowCaption(groupBox, control.caption());
  }
}

Control* ControlOf(HWND window) {
  return window == nullptr ? nullptr
                           : reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void StoreControl(HWND window, Control* control) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
}

std::optional<LRESULT> ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Menus and accelerators send no window: those are the parent's own commands.
      if (lParam == 0) return std::nullopt;
      RouteCommand(wParam, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ControlColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
      return std::nullopt;
  }
}

}  // namespace platform::win32
