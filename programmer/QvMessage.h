#pragma once
// The short message boxes the components show ("Debug ERR #155"): a modal
// box with one OK button and the application's title. Tests read them through
// a sink of their own, or answer the box through the layer's answer provider.
#include <functional>

#include "platform/rtl/Types.h"

using TQvMessageSink = std::function<void(const String& Text)>;

// Shows Text through the current sink (user-interface thread only: the
// default sink is a modal box).
void QvShowMessage(const String& Text);
// Replaces the sink; an empty one restores the message box.
void SetQvMessageSink(TQvMessageSink Sink);
