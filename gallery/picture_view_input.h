// picture_view_input.h -- the keys and the mouse while the picture view is open.
#pragma once
#include <cstdint>

// Virtual-key codes the view adds to the gallery's (on Windows the system's own).
#ifndef VK_ADD
constexpr uint32_t VK_NUMPAD0 = 0x60;
constexpr uint32_t VK_NUMPAD1 = 0x61;
constexpr uint32_t VK_ADD = 0x6B;
constexpr uint32_t VK_SUBTRACT = 0x6D;
constexpr uint32_t VK_OEM_PLUS = 0xBB; // the "=/+" key
constexpr uint32_t VK_OEM_MINUS = 0xBD;
#endif

// A key press or release while the view is open. Escape and Enter close it; Left/Right step
// through the folder, or move the picture while it is zoomed in, as Up/Down do; + and - zoom
// about the centre, 1 shows 100 %, 0 the fitted picture; F1 its help; F2 as in the gallery.
void handleViewKey(uint32_t keyCode, bool pressed);

// Mouse wheel notches (positive away from the person) at window point (x, y): previous or next
// picture, or with Ctrl held zoom in or out about that point.
void handleViewWheel(int notches, bool control, int x, int y);

// Dragging with the left button held moves a zoomed-in picture with the pointer.
void beginViewDrag(int x, int y);
void dragView(int x, int y);
void endViewDrag();

// The share of the window an arrow key moves a zoomed-in picture.
constexpr double VIEW_PAN_SHARE = 0.1;
