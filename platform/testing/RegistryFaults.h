#pragma once
// Fault injection for the registry store, for tests only.
#include <functional>

// Runs hook after the new hive file has been written and flushed and before
// it replaces the old one (a test kills the process there to show that the
// old file survives). An empty hook removes it.
void SetRegistryBeforeReplaceHook(std::function<void()> hook);
