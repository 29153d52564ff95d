// window_proc_win32.h -- the gallery window's procedure (events_win32.cpp): it answers the
// window system at once and queues the messages the gallery acts on for pollMessage.
#pragma once
#include <windows.h>

LRESULT CALLBACK galleryWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
