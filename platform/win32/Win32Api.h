#pragma once
// windows.h without the macros that would rename the platform interfaces' own members
// (FindWindow, FindWindowEx, PostMessage, DeleteFile), which share Win32's names, nor the one
// that would hide pendrel::DISP_E_PARAMNOTFOUND, the same number.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef FindWindow
#undef FindWindowEx
#undef PostMessage
#undef DeleteFile
#undef DISP_E_PARAMNOTFOUND
