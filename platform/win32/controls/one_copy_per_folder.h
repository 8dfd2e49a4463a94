#pragma once
// One copy of a program per working folder, the system's way: a named mutex per program and
// folder, owned by the first copy for as long as it runs, and that copy's start window marked
// with the mutex's name, so that a later copy can find the window and ask it to come back.
#include <string>

#include "platform/controls/ui_backend.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

// Sent by a later copy to the first copy's start window, which answers kCameBack.
constexpr UINT kComeBackMessage = WM_APP + 1;
constexpr LRESULT kCameBack = 1;

// "Local\<program>-<16 hex digits>": the digits hash the working folder's identity
// (folder_identity.h), which every spelling of the folder leads to. Empty where the folder
// cannot be opened to tell it.
std::string FolderClaimName(const std::string& program);

// Takes the claim `name` for the rest of the process, its handle in `claim`; or, where another
// copy holds it, asks that copy's window to come back. A claim that exists but is closed to
// this copy (that of a copy running elevated) is held all the same. A copy still starting,
// whose window is not there yet, is waited for a few seconds; one that ends meanwhile leaves
// the claim to this copy. A claim the system refuses for another reason is no claim: the
// program runs as if alone (kClaimed, `claim` null).
FolderClaim ClaimOrHandOver(const std::string& name, HANDLE& claim);

// Marks `window` as the window of the claim `name`, and takes the mark off before it goes.
void MarkClaimWindow(HWND window, const std::string& name);
void UnmarkClaimWindow(HWND window, const std::string& name);

}  // namespace platform::win32
