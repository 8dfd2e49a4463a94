#include "tests/crosshairs/crosshairs_fixture.h"

namespace crosshairs_tests {

void CrosshairsTest::StoreSetting(const std::string& key, const std::string& value) {
  env.settings.Save("Vorlane", "crosshair", key, value);
  env.settings.ClearLog();
}

void CrosshairsTest::StartWithSevenAndTwo() {
  StoreSetting("cr", "7");
  StoreSetting("rt", "2");
  Start();
  env.settings.ClearLog();
}

std::vector<int> CrosshairsTest::SelectedCrosshairs() {
  std::vector<int> selected;
  for (int k = 1; k <= crosshairs::kCrosshairCount; ++k)
    if (form.CrosshairOption(k).value()) selected.push_back(k);
  return selected;
}

std::vector<int> CrosshairsTest::SelectedReticles() {
  std::vector<int> selected;
  for (int k = 1; k <= crosshairs::kReticleCount; ++k)
    if (form.ReticleOption(k).value()) selected.push_back(k);
  return selected;
}

}  // namespace crosshairs_tests
