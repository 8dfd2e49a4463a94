#include "bench/startup_times.h"

#include <utility>

namespace bench {

StartupTimedUi::StartupTimedUi(std::string programTitle) : Win32Ui(std::move(programTitle)) {
  points_.ready = SinceProcessCreation();
}

platform::PictureRef StartupTimedUi::DecodePicture(platform::PictureBytes bytes) {
  const double start = SinceProcessCreation();
  platform::PictureRef picture = Win32Ui::DecodePicture(bytes);
  if (startForm_ == nullptr) points_.decoding += SinceProcessCreation() - start;
  return picture;
}

void StartupTimedUi::CreateWindow(platform::Form& form) {
  if (startForm_ != nullptr) {
    Win32Ui::CreateWindow(form);
    return;
  }
  startForm_ = &form;
  points_.creationStart = SinceProcessCreation();
  Win32Ui::CreateWindow(form);
  points_.creationEnd = SinceProcessCreation();
  // The load handler runs right after this returns; a show from inside it counts as loading.
  form.onLoad = [this, load = std::move(form.onLoad)] {
    if (load) load();
    if (points_.loadEnd == 0) points_.loadEnd = SinceProcessCreation();
  };
}

void StartupTimedUi::ShowWindow(platform::Form& form) {
  const bool first = &form == startForm_ && points_.loadEnd != 0 && points_.showStart == 0;
  if (first) points_.showStart = SinceProcessCreation();
  Win32Ui::ShowWindow(form);
  if (first) points_.showEnd = SinceProcessCreation();
}

void StartupTimedUi::RunMessageLoop() {
  if (!reported_ && points_.showEnd != 0) {
    reported_ = true;
    ReportWhenIdle(points_);
  }
  Win32Ui::RunMessageLoop();
}

}  // namespace bench
