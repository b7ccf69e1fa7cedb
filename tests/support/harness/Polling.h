#pragma once

#include <functional>

// Polls a condition until it holds or the time is up. Pending events of the test's own
// application are handled meanwhile, so that work posted to this thread gets done.
bool eventually(const std::function<bool()>& condition, int timeoutMs = 20000, int intervalMs = 20);

// Handles this thread's events for a while, for what settles without a sign.
void processEventsFor(int milliseconds);
