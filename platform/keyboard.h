// keyboard.h -- the keyboard state the gallery asks for.
#pragma once

// True while a Shift key is held.
bool isShiftDown();
