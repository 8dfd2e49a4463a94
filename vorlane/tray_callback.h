#pragma once
// The shell reports mouse activity over the notification-area icon as a mouse movement over
// the window whose horizontal position is the mouse message number, taken as pixels and
// expressed in the window's scale unit.
namespace vorlane {

namespace mouse_message {
constexpr int kLeftButtonUp = 514;
constexpr int kLeftButtonDoubleClick = 515;
constexpr int kRightButtonUp = 517;
}  // namespace mouse_message

// The mouse message number carried by the position `x`: `x` itself when the scale unit is the
// pixel, else `x` divided by the screen's twips per pixel; rounded to the nearest whole number
// (halves to even). A position that is no number at all yields 0, which no handler answers.
int CallbackMessage(double x, int scaleMode, int twipsPerPixel);

}  // namespace vorlane
