#pragma once
// Hot keys are stored with Windows virtual-key codes, so settings files written for the
// original platform keep working: F2 is 113, A is 65, 1 is 49.

#include <Qt>

// The virtual-key code of a key event's key (Qt::Key) and modifiers, whatever the modifiers (Shift+A is still 65 and
// "!" is the 1 key, 49, as on a US keyboard); 0 for a key without one.
int virtualKeyCode(int key, Qt::KeyboardModifiers modifiers);
