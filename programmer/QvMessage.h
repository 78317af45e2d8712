#pragma once
// The short message boxes the components show ("Debug ERR #155"). The box
// itself belongs to the forms layer; until the program connects it, messages
// go to standard error. Tests read them through a sink of their own.
#include <functional>

#include "platform/rtl/Types.h"

using TQvMessageSink = std::function<void(const String& Text)>;

// Shows Text through the current sink.
void QvShowMessage(const String& Text);
// Replaces the sink; an empty one restores standard error.
void SetQvMessageSink(TQvMessageSink Sink);
