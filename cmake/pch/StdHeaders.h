// Standard headers most units include, precompiled once per build (see
// cmake/RyxLibrary.cmake). Only outside headers belong here: a project header
// would make every unit rebuild whenever it changes.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
