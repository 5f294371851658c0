// Screen captures of the saver and what they show: bright soft spots on black.
#pragma once

#include <vector>

#include <windows.h>

// Grey levels (the green channel) of a rectangle of the screen.
std::vector<int> CaptureScreen(int left, int top, int width, int height);
// Keeps a picture for a person to look at (a PGM file beside the test).
void SavePicture(const char* name, const std::vector<int>& grey, int width, int height);

struct SnowPicture {
    int spots;         // separate bright patches
    double blackShare; // of all pixels
    int softPixels;    // lit but not at full brightness: the glow around a spot
};
SnowPicture Analyse(const std::vector<int>& grey, int width, int height);
