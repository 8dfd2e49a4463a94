#pragma once
// The Windows headers, for this folder and the programs' entry points. A few of their macros would
// rename the portable layer's own names (CreateWindow, MessageBox, RGB), so they are taken back
// out; the code here calls the A functions by their full names instead.
//
// The one rule: code here reaches the Windows headers through this header, never directly.
// Then no macro survives to rename anything, and this header stands among the others in the
// ordinary sorted place, like any other.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif
// windows.h first, on its own: the others build on it.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>
#include <shellapi.h>

#undef CreateWindow
#undef MessageBox
#undef RGB
