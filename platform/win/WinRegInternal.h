#pragma once
// The registry store's private seam: fault injection for its tests. Product
// code never calls it.
#include <functional>

// Runs hook after the new hive file has been written and flushed and before
// it replaces the old one (a test kills the process there to show that the
// old file survives). An empty hook removes it.
void SetRegistryBeforeReplaceHook(std::function<void()> hook);
