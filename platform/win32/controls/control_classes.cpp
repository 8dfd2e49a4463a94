#include "platform/win32/controls/control_classes.h"

#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/win32/controls/control_windows.h"
#include "platform/win32/controls/pictures.h"
#include "platform/win32/controls/window_class.h"
#include "platform/win32/event_boundary.h"

namespace platform::win32 {
namespace {

constexpr int kFrameGroupBoxSlot = 0;  // extra window bytes of a frame: its group box

// Stored before any other message, so that none finds the window without its control.
void StoreCreateParameter(HWND window, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  StoreControl(window, static_cast<Control*>(create->lpCreateParams));
}

Color ContainerBackColor(const Control& control) {
  if (const auto* frame = dynamic_cast<const Frame*>(&control.container()))
    return frame->backColor();
  return control.form().design().backColor;
}

// The two messages both picture classes answer alike: their background, their picture over
// it. Only these read the control: while a form is destroyed its windows outlive its controls.
LRESULT PaintPictureWindow(HWND window, UINT message, WPARAM wParam, Color background,
                           const Picture* picture) {
  if (message == WM_ERASEBKGND) {
    FillClient(window, reinterpret_cast<HDC>(wParam), background);
    return 1;
  }
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (picture != nullptr) PaintPicture(dc, *picture);
  EndPaint(window, &paint);
  return 0;
}

LRESULT FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) StoreCreateParameter(window, lParam);
  // Its option buttons and check boxes notify the frame, their parent, not the form.
  if (const auto reflected = ReflectToControl(message, wParam, lParam)) return *reflected;
  Control* control = ControlOf(window);
  switch (message) {
    case WM_ERASEBKGND:
      if (control == nullptr) break;
      FillClient(window, reinterpret_cast<HDC>(wParam), control->backColor());
      return 1;
    case WM_SIZE:
      if (HWND groupBox = GroupBoxOf(window))
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
    case WM_ERASEBKGND:
    case WM_PAINT:
      return PaintPictureWindow(window, message, wParam, control->backColor(),
                                static_cast<const PictureBox&>(*control).picture().get());
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT ImageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) StoreCreateParameter(window, lParam);
  const Control* control = ControlOf(window);
  if (control == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND:
    case WM_PAINT:
      // No background of its own: before it has a picture it shows its container's.
      return PaintPictureWindow(window, message, wParam, ContainerBackColor(*control),
                                static_cast<const Image&>(*control).picture().get());
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

void RegisterControlClasses(HINSTANCE instance) {
  RegisterWindowClass(
      instance,
      {.name = kFrameClass, .procedure = &Guarded<FrameProcedure>, .extraBytes = sizeof(LONG_PTR)});
  RegisterWindowClass(instance,
                      {.name = kPictureBoxClass, .procedure = &Guarded<PictureBoxProcedure>});
  RegisterWindowClass(instance, {.name = kImageClass, .procedure = &Guarded<ImageProcedure>});
}

HWND GroupBoxOf(HWND frame) {
  return reinterpret_cast<HWND>(GetWindowLongPtrA(frame, kFrameGroupBoxSlot));
}

void SetGroupBox(HWND frame, HWND groupBox) {
  SetWindowLongPtrA(frame, kFrameGroupBoxSlot, reinterpret_cast<LONG_PTR>(groupBox));
}

}  // namespace platform::win32
