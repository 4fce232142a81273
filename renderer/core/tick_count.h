// The platform's millisecond tick count, which the scene's clock reads:
// GetTickCount on Windows, a monotonic clock elsewhere. It wraps after 49.7 days.
#pragma once

#include <cstdint>

std::uint32_t TickCount();
