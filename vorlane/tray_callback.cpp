#include "vorlane/tray_callback.h"

#include <cmath>
#include <limits>

#include "platform/controls/form.h"

namespace vorlane {

int CallbackMessage(double x, int scaleMode, int twipsPerPixel) {
  const double pixels =
      scaleMode == platform::kScalePixels ? x : x / static_cast<double>(twipsPerPixel);
  const double rounded = std::nearbyint(pixels);  // the default rounding: halves to even
  // Converting a value outside int's range would be undefined; no such value is a message.
  if (!(std::fabs(rounded) <= static_cast<double>(std::numeric_limits<int>::max()))) return 0;
  return static_cast<int>(rounded);
}

}  // namespace vorlane
