#include "platform/x11/StackingOrder.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace platform::x11 {

std::vector<std::size_t> serverStackingTopmostFirst(const std::vector<std::optional<xcb_window_t>>& topLevels,
                                                    const std::vector<xcb_window_t>& rootChildren) {
    std::unordered_map<xcb_window_t, std::size_t> depth; // 0 for the topmost
    depth.reserve(rootChildren.size());
    for (std::size_t i = 0; i < rootChildren.size(); ++i) depth[rootChildren[i]] = rootChildren.size() - 1 - i;
    std::vector<std::size_t> depthOf(topLevels.size(), std::numeric_limits<std::size_t>::max());
    for (std::size_t i = 0; i < topLevels.size(); ++i) {
        if (!topLevels[i]) continue;
        if (auto found = depth.find(*topLevels[i]); found != depth.end()) depthOf[i] = found->second;
    }
    std::vector<std::size_t> order(topLevels.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return depthOf[a] < depthOf[b]; });
    return order;
}

} // namespace platform::x11
