#pragma once
// One copy of a program per working folder, the system's way: a named mutex per program and
// folder, owned by the first copy for as long as it runs, and that copy's start window marked
// with the mutex's name, so that a later copy can find the window and ask it to come back.
#include <string>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Posted by a later copy to the first copy's start window.
constexpr UINT kComeBackMessage = WM_APP + 1;

// "Local\<program>-<16 hex digits>": the digits hash the working folder's identity
// (folder_identity.h), which every spelling of the folder leads to. Empty where the folder
// cannot be opened to tell it.
std::string FolderClaimName(const std::string& program);

// Takes the claim `name` for the rest of the process and returns its handle; or, where another
// copy holds it, asks that copy's window to come back and returns nullptr. A copy still
// starting, whose window is not there yet, is waited for a few seconds; one that ends
// meanwhile leaves the claim to this copy. A claim the system refuses is no claim: the
// program runs as if alone (INVALID_HANDLE_VALUE).
HANDLE ClaimOrHandOver(const std::string& name);

// Marks `window` as the window of the claim `name`, and takes the mark off before it goes.
void MarkClaimWindow(HWND window, const std::string& name);
void UnmarkClaimWindow(HWND window, const std::string& name);

}  // namespace platform::win32
