#include "tests/faults/mod_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/services/file_copier.h"
#include "tests/platform/error_of.h"
#include "tests/support/byte_pattern.h"
#include "tests/support/copy_one.h"

namespace faults {
namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr std::size_t kLarge = std::size_t{256} << 20;
constexpr std::uintmax_t kEndAfter = std::uintmax_t{32} << 20;

// The files beside the mod's crosshair archive, with their sizes.
std::map<std::string, std::uintmax_t> OthersBeside() {
  std::map<std::string, std::uintmax_t> others;
  for (const auto& entry : std::filesystem::directory_iterator("archives")) {
    std::error_code gone;  // a file of the copy may go meanwhile
    const std::uintmax_t size = entry.file_size(gone);
    if (entry.path().filename() != "menu.rfa")
      others[entry.path().filename().string()] = gone ? 0 : size;
  }
  return others;
}

}  // namespace

platform::headless::MemorySettingsStore LayOutMod(const test_support::WorkingFolderFiles& files,
                                                  const std::string& newMenu) {
  files.Write("cr\\7\\menu.rfa", newMenu);
  files.Write("rt\\2\\game.rfa", "new game");
  files.Write("archives\\menu.rfa", "old menu");
  files.Write("archives\\bf1942\\game.rfa", "old game");
  platform::headless::MemorySettingsStore stored;
  stored.Save("Vorlane", "crosshair", "cr", "7");
  stored.Save("Vorlane", "crosshair", "rt", "2");
  return stored;
}

void ExpectOldArchives(const test_support::WorkingFolderFiles& files) {
  EXPECT_EQ(files.Read("archives\\menu.rfa"), "old menu");
  EXPECT_EQ(files.Read("archives\\bf1942\\game.rfa"), "old game");
  EXPECT_EQ(files.Names("archives"), "bf1942 menu.rfa");
  EXPECT_EQ(files.Names("archives\\bf1942"), "game.rfa");
}

void ExpectCopyOntoAFullDiskFails(platform::FileSystem& files,
                                  const test_support::WorkingFolderFiles& folder) {
  platform::FileCopier copier(files);
  const platform::RuntimeError error = test_support::ErrorOf(
      [&] { test_support::CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa"); });
  EXPECT_EQ(error.number(), platform::error::kDiskFull) << "0: the copy was reported as done";
  EXPECT_EQ(error.path(), "archives\\menu.rfa");
  ExpectOldArchives(folder);
}

void WritePattern(const std::string& path, std::size_t size, unsigned seed) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<char> chunk(kChunk);
  test_support::BytePattern pattern(seed);
  for (std::size_t written = 0; written < size;) {
    const std::size_t count = std::min(kChunk, size - written);
    for (std::size_t i = 0; i < count; ++i) chunk[i] = pattern.Next();
    out.write(chunk.data(), static_cast<std::streamsize>(count));
    written += count;
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool SameBytes(const std::string& a, const std::string& b) {
  std::ifstream first(a, std::ios::binary);
  std::ifstream second(b, std::ios::binary);
  if (!first || !second) return false;
  std::vector<char> one(kChunk);
  std::vector<char> two(kChunk);
  for (;;) {
    first.read(one.data(), static_cast<std::streamsize>(one.size()));
    second.read(two.data(), static_cast<std::streamsize>(two.size()));
    const auto got = static_cast<std::size_t>(first.gcount());
    if (got != static_cast<std::size_t>(second.gcount())) return false;
    if (std::memcmp(one.data(), two.data(), got) != 0) return false;
    if (got < kChunk) return true;  // both ended at the same byte
  }
}

void LayOutLargeCopy() {
  std::filesystem::create_directories("cr/7");
  std::filesystem::create_directories("archives");
  WritePattern("cr/7/menu.rfa", kLarge, 1);
  WritePattern("archives/menu.rfa", 3 << 20, 2);
  WritePattern("old-menu.rfa", 3 << 20, 2);
}

int CopyLargeArchive(platform::FileSystem& files) noexcept {
  try {
    platform::FileCopier copier(files);
    test_support::CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa");
    return 0;
  } catch (...) {
    return 1;
  }
}

bool EndHalfWay(const std::function<bool()>& running, const std::function<bool()>& end) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (std::chrono::steady_clock::now() < deadline && running()) {
    for (const auto& [name, size] : OthersBeside())
      if (size >= kEndAfter) return end();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

void ExpectEndedCopyHarmless(unsigned long process, platform::FileSystem& files) {
  EXPECT_TRUE(SameBytes("archives/menu.rfa", "old-menu.rfa") ||
              SameBytes("archives/menu.rfa", "cr/7/menu.rfa"))
      << "the destination is neither its old nor its new self";
  // Named after its process, so that it can never be taken for anyone else's.
  for (const auto& [name, size] : OthersBeside()) {
    EXPECT_EQ(name.rfind("menu.rfa.~vl" + std::to_string(process) + "-", 0), 0u) << name;
    EXPECT_LT(size, kLarge) << name;
  }
  platform::FileCopier copier(files);
  test_support::CopyOne(copier, "cr\\7\\menu.rfa", "archives\\menu.rfa");
  EXPECT_TRUE(SameBytes("archives/menu.rfa", "cr/7/menu.rfa"));
  EXPECT_TRUE(OthersBeside().empty()) << "a staged file was left behind";
}

}  // namespace faults
