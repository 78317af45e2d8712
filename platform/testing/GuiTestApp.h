#pragma once
// For tests and benchmarks: the process's application object (made by the
// message loop, with the project's font set), headless unless the
// environment names a display platform. Call on the main thread.
void EnsureGuiApplication();
// Forgets the pictures the toolkit keeps by name (its pixmap cache), so that
// the next paint reads them again the toolkit's own way.
void ForgetCachedPictures();
