#pragma once
// Points fontconfig at the project's font file, so the program and every test
// draw with the same faces and metrics. Call before the Qt application object
// is created (the layer's start-up does); later calls change nothing.
void UseProjectFontSet();
