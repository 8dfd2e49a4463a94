#include "platform/win32/control_windows.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/win32/control_font.h"
#include "platform/win32/event_boundary.h"
#include "platform/win32/native_picture.h"

namespace platform::win32 {
namespace {

constexpr const char* kFrameClass = "VlFrame";
constexpr const char* kPictureBoxClass = "VlPictureBox";
constexpr const char* kImageClass = "VlImage";
constexpr int kFrameGroupBoxSlot = 0;  // extra window bytes of a frame: its group box
// Child ids start clear of IDOK and IDCANCEL, which the dialog keys send on their own.
constexpr int kFirstChildId = 0x100;
constexpr int kGroupBoxId = 0xFF;

void StoreControl(HWND window, Control* control) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
}

// Our own classes get their control at creation, so that no message finds them without it.
void StoreCreateParameter(HWND window, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  StoreControl(window, static_cast<Control*>(create->lpCreateParams));
}

HWND HandleOf(const Control& control) {
  return reinterpret_cast<HWND>(control.nativeHandle());
}

void FillClient(HWND window, HDC dc, Color color) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, SolidBrush(ToColorRef(color)));
}

Color ContainerBackColor(const Control& control) {
  if (const auto* frame = dynamic_cast<const Frame*>(&control.container()))
    return frame->backColor();
  return control.form().design().backColor;
}

const Picture* PictureOf(const Control& control) {
  if (control.kind() == ControlKind::kPictureBox)
    return static_cast<const PictureBox&>(control).picture().get();
  if (control.kind() == ControlKind::kImage)
    return static_cast<const Image&>(control).picture().get();
  return nullptr;
}

void PaintPictureWindow(HWND window, const Control& control) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (const Picture* picture = PictureOf(control)) PaintPicture(dc, *picture);
  EndPaint(window, &paint);
}

LRESULT FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) StoreCreateParameter(window, lParam);
  Control* control = ControlOf(window);
  switch (message) {
    case WM_COMMAND:
      if (RouteControlCommand(wParam, lParam)) return 0;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      LRESULT brush = 0;
      if (ControlColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), brush))
        return brush;
      break;
    }
    case WM_ERASEBKGND:
      if (control == nullptr) break;
      FillClient(window, reinterpret_cast<HDC>(wParam), control->backColor());
      return 1;
    case WM_SIZE:
      if (auto groupBox = reinterpret_cast<HWND>(GetWindowLongPtrA(window, kFrameGroupBoxSlot)))
        MoveWindow(groupBox, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT PictureBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) StoreCreateParameter(window, lParam);
  Control* control = ControlOf(window);
  if (control == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      FillClient(window, reinterpret_cast<HDC>(wParam), control->backColor());
      return 1;
    case WM_PAINT:
      PaintPictureWindow(window, *control);
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(window);
      return 0;
    case WM_LBUTTONUP: {
      // A click is a press and a release over the box.
      if (GetCapture() != window) return 0;
      ReleaseCapture();
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT client{};
      GetClientRect(window, &client);
      if (PtInRect(&client, point)) control->UserClick();
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT ImageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) StoreCreateParameter(window, lParam);
  Control* control = ControlOf(window);
  if (control == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
      // No background of its own: before it has a picture it shows its container's.
      FillClient(window, reinterpret_cast<HDC>(wParam), ContainerBackColor(*control));
      return 1;
    case WM_PAINT:
      PaintPictureWindow(window, *control);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void RegisterClassOnce(HINSTANCE instance, const char* name, WNDPROC procedure, int extraBytes) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = extraBytes;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.lpszClassName = name;
  if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error(std::string("cannot register the window class ") + name);
}

struct ChildClass {
  const char* name;
  DWORD style;
  DWORD exStyle;
  bool isSystemClass;
  bool isButton;
};

ChildClass ClassFor(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return {"STATIC", SS_LEFT, 0, true, false};
    case ControlKind::kFrame:
      // Not clipping its children: its group box covers it whole and never fills its inside,
      // so the frame's own fill has to reach under it.
      return {kFrameClass, 0, WS_EX_CONTROLPARENT, false, false};
    case ControlKind::kOptionButton:
      // Not an automatic button: the model decides what is checked.
      return {"BUTTON", BS_RADIOBUTTON | WS_TABSTOP, 0, true, true};
    case ControlKind::kCheckBox:
      // Three states, so that a greyed value shows; not automatic either.
      return {"BUTTON", BS_3STATE | WS_TABSTOP, 0, true, true};
    case ControlKind::kPictureBox:
      return {kPictureBoxClass, 0, 0, false, false};
    case ControlKind::kImage:
      return {kImageClass, 0, 0, false, false};
  }
  return {"STATIC", 0, 0, true, false};
}

HMENU ChildId(int id) {
  return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

void PrepareSystemChild(HWND window, Control& control, bool isButton) {
  StoreControl(window, &control);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
  // Themed buttons ignore the text colour; unthemed ones honour it on every system.
  if (isButton) SetWindowTheme(window, L"", L"");
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

RECT PixelRect(const Bounds& bounds, int twipsPerPixel) {
  const int left = TwipsToPixels(bounds.left, twipsPerPixel);
  const int top = TwipsToPixels(bounds.top, twipsPerPixel);
  return {left, top, left + TwipsToPixels(bounds.width, twipsPerPixel),
          top + TwipsToPixels(bounds.height, twipsPerPixel)};
}

std::vector<Control*> InTabOrder(const Container& container) {
  std::vector<Control*> ordered = container.controls();
  std::stable_sort(ordered.begin(), ordered.end(), [](const Control* a, const Control* b) {
    return a->tabIndex() < b->tabIndex();
  });
  return ordered;
}

void SetStyleBit(HWND window, DWORD bit, bool on) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
  const DWORD wanted = on ? (style | bit) : (style & ~bit);
  if (wanted != style) SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(wanted));
}

// Tab reaches an option group at its selected button, or at its first when none is selected;
// the arrow keys move within it.
void RefreshOptionTabStops(const Container& container) {
  std::vector<const OptionButton*> options;
  for (const Control* control : InTabOrder(container))
    if (control->kind() == ControlKind::kOptionButton && control->nativeHandle() != 0)
      options.push_back(static_cast<const OptionButton*>(control));
  if (options.empty()) return;
  const auto selected = std::find_if(options.begin(), options.end(),
                                     [](const OptionButton* option) { return option->value(); });
  const OptionButton* stop = selected != options.end() ? *selected : options.front();
  for (const OptionButton* option : options)
    SetStyleBit(HandleOf(*option), WS_TABSTOP, option == stop);
}

void ShowValue(Control& control, HWND window) {
  if (control.kind() == ControlKind::kOptionButton) {
    const bool selected = static_cast<const OptionButton&>(control).value();
    SendMessageA(window, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (control.kind() == ControlKind::kCheckBox) {
    const int value = static_cast<const CheckBox&>(control).value();
    const WPARAM state = value == CheckBox::kChecked  ? BST_CHECKED
                         : value == CheckBox::kGrayed ? BST_INDETERMINATE
                                                      : BST_UNCHECKED;
    SendMessageA(window, BM_SETCHECK, state, 0);
  }
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

void RegisterControlClasses(HINSTANCE instance) {
  RegisterClassOnce(instance, kFrameClass, &Guarded<FrameProcedure>, sizeof(LONG_PTR));
  RegisterClassOnce(instance, kPictureBoxClass, &Guarded<PictureBoxProcedure>, 0);
  RegisterClassOnce(instance, kImageClass, &Guarded<ImageProcedure>, 0);
}

void CreateControlWindows(Container& container, HWND parent, int twipsPerPixel) {
  int id = kFirstChildId;
  bool previousWasOption = false;
  bool first = true;
  for (Control* control : InTabOrder(container)) {
    const ChildClass childClass = ClassFor(control->kind());
    const bool isOption = control->kind() == ControlKind::kOptionButton;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | childClass.style;
    // A run of option buttons is one group for the arrow keys; everything else stands alone.
    if (first || !(isOption && previousWasOption)) style |= WS_GROUP;
    first = false;
    previousWasOption = isOption;

    const RECT place = PixelRect(control->bounds(), twipsPerPixel);
    HWND window = CreateChild(childClass.name, control->caption(), style, childClass.exStyle, place,
                              parent, id++, *control);
    if (childClass.isSystemClass) PrepareSystemChild(window, *control, childClass.isButton);
    control->setNativeHandle(reinterpret_cast<std::uintptr_t>(window));

    if (auto* frame = dynamic_cast<Frame*>(control)) {
      CreateControlWindows(*frame, window, twipsPerPixel);
      // Created last, so it lies below the frame's controls and draws only around them.
      const RECT whole{0, 0, place.right - place.left, place.bottom - place.top};
      HWND groupBox = CreateChild("BUTTON", control->caption(),
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, whole,
                                  window, kGroupBoxId, *control);
      PrepareSystemChild(groupBox, *control, true);
      SetWindowLongPtrA(window, kFrameGroupBoxSlot, reinterpret_cast<LONG_PTR>(groupBox));
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
  ShowValue(control, window);
  if (control.kind() == ControlKind::kOptionButton) RefreshOptionTabStops(control.container());
  if (control.kind() == ControlKind::kPictureBox || control.kind() == ControlKind::kImage)
    InvalidateRect(window, nullptr, TRUE);
  ShowPlace(window, PixelRect(control.bounds(), twipsPerPixel));
  ShowCaption(window, control.caption());
  if (control.kind() == ControlKind::kFrame) {
    if (auto groupBox = reinterpret_cast<HWND>(GetWindowLongPtrA(window, kFrameGroupBoxSlot)))
      ShowCaption(groupBox, control.caption());
  }
}

Control* ControlOf(HWND window) {
  return window == nullptr ? nullptr
                           : reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool RouteControlCommand(WPARAM wParam, LPARAM lParam) {
  Control* control = ControlOf(reinterpret_cast<HWND>(lParam));
  if (control == nullptr) return false;
  // A window blocked by a modal one takes no clicks, also none posted to its buttons.
  if (!IsWindowEnabled(GetAncestor(reinterpret_cast<HWND>(lParam), GA_ROOT))) return true;
  if (HIWORD(wParam) == BN_CLICKED &&
      (control->kind() == ControlKind::kOptionButton || control->kind() == ControlKind::kCheckBox))
    control->UserClick();
  return true;
}

bool ControlColors(HDC dc, HWND child, LRESULT& result) {
  const Control* control = ControlOf(child);
  if (control == nullptr) return false;
  const COLORREF back = ToColorRef(control->backColor());
  SetTextColor(dc, ToColorRef(control->foreColor()));
  SetBkColor(dc, back);
  SetBkMode(dc, OPAQUE);
  result = reinterpret_cast<LRESULT>(SolidBrush(back));
  return true;
}

}  // namespace platform::win32
