#pragma once
// Seam between the clipboard calls and the toolkit's clipboard. Not for use
// outside platform/.
#include <map>
#include <optional>

#include "platform/rtl/Types.h"

// The formats are keyed by their registered names.
using TClipboardContent = std::map<String, TBytes>;

// --- ClipboardQt.cpp (the only place that touches the toolkit's clipboard) ---
// True when the calling thread can use the window system's clipboard.
bool ToolkitClipboardAvailable();
// Replaces the window system's clipboard content with these formats.
void ToolkitClipboardSet(const TClipboardContent& content);
// The bytes of a format on the window system's clipboard; nothing when absent.
std::optional<TBytes> ToolkitClipboardGet(const String& name);
