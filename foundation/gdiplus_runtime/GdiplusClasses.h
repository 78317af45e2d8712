#pragma once
// GDI+ for the run-time wrapper set: started after the entry table is bound
// (its background thread allowed) and shut down, after the shared generic
// families and string formats are freed, before the table is released.
namespace gdiplus_runtime {

// Starts GDI+ when the library is loaded; does nothing without it or when
// already started. A failed start leaves GDI+ stopped (wrappers then answer
// GdiplusNotInitialized or cannot be made).
void InitializeGdiplusClasses();
// Frees the cached generic sans-serif, serif and monospace families and the
// typographic and default formats, then shuts GDI+ down when this unit
// started it. Safe to call again.
void FinalizeGdiplusClasses();
// True while this unit's start of GDI+ is in force.
bool GdiplusClassesStarted();

}  // namespace gdiplus_runtime
