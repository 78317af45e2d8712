#pragma once
// For tests and benchmarks: the project's font set and a GUI application
// object (fonts need one), created once per process and kept to its end.
void EnsureGuiApplication();
