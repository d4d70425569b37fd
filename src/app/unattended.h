// Captures and stills run from scripts and on render hosts, with nobody to
// answer a box or to notice a picture that is not the demo's.
#pragma once

#include <string>

// What a clamped window size means for the pictures, in one line ("3840 x
// 2160 is larger than the largest window, 3200 x 2400; capturing 3200 x
// 1800"); empty when config.xml's size was kept.
std::string window_clamp_note();

// True when nothing seen so far changes the picture. Otherwise it names
// what was not said yet (no render targets where config.xml asks for the
// glow) and, on the last line, that nothing is captured.
bool unattended_picture_ok();
