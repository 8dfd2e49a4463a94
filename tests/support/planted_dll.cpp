// A DLL planted beside a program under a system DLL's name. Whichever process loads it, it
// leaves a file beside itself saying so (its own file name with ".loaded" added), then refuses
// the load: it has none of the real DLL's functions, and a process calling into it would stop
// in the debugger instead of going on or ending.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t marker[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(self, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return FALSE;
  lstrcpyW(marker + length, L".loaded");
  HANDLE file =
      CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return FALSE;
}
