#pragma once
// The firmware image's scrambling, a routine of the main window's unit: the
// stored image is kept scrambled and uploaded as it is stored; only its
// version texts are read from an unscrambled copy.
#include <string>

// Answers Data with the bytes at odd positions (1st, 3rd, ...) XORed with a
// key that advances after each of them, and those at even positions with a
// second such key. Its own inverse; an empty text gives an empty text.
std::string UnscrambleImage(const std::string& Data);
