#pragma once
// The Windows headers, for this folder only. A few of their macros would rename the portable
// layer's own names (CreateWindow, MessageBox, RGB), so they are taken back out; the code here
// calls the A functions by their full names instead.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef STRICT
#define STRICT
#endif
#include <windows.h>
#include <shellapi.h>
#include <ole2.h>
#include <olectl.h>
#include <commctrl.h>
#include <uxtheme.h>

#undef CreateWindow
#undef MessageBox
#undef RGB
