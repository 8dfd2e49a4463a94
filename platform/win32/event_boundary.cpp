#include "platform/win32/event_boundary.h"

#include <exception>
#include <new>

#include "platform/controls/runtime.h"
#include "platform/services/runtime_error.h"

namespace platform::win32 {
namespace {

std::string& ReportTitle() {
  static std::string title;
  return title;
}

[[noreturn]] void ReportAndExit(const std::exception_ptr& escaped) noexcept {
  try {
    std::rethrow_exception(escaped);
  } catch (const EndProgram&) {
    ExitProcess(0);
  } catch (...) {
    const std::string text = EscapedExceptionText();
    MessageBoxA(nullptr, text.c_str(), ReportTitle().c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(1);
  }
}

void ReportTerminate() {
  const std::exception_ptr escaped = std::current_exception();
  if (escaped) ReportAndExit(escaped);
  ExitProcess(3);
}

}  // namespace

void SetReportTitle(std::string title) {
  ReportTitle() = std::move(title);
}

std::string EscapedExceptionText() {
  try {
    throw;
  } catch (const RuntimeError& error) {
    return UntrappedErrorText(error);
  } catch (const std::bad_alloc&) {
    return "Run-time error '7':\n\nOut of memory";
  } catch (const std::exception& error) {
    return std::string("Run-time error '51':\n\nInternal error: ") + error.what();
  } catch (...) {
    return "Run-time error '51':\n\nInternal error";
  }
}

void ReportEscapedExceptionAndExit() noexcept {
  ReportAndExit(std::current_exception());
}

void InstallTerminateReport() {
  std::set_terminate(&ReportTerminate);
}

}  // namespace platform::win32
