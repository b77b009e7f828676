#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class AlertStyle { informational, warning, critical };

// A modal message. Every text is shown as plain text, never interpreted as markup.
struct Alert {
    std::string messageText;
    std::string informativeText;
    AlertStyle style = AlertStyle::informational;
    // In order; the first is the default button.
    std::vector<std::string> buttons;
};

class AlertPresenter {
public:
    // The index of the button that ended the alert; nothing when it was closed another way.
    using Response = std::function<void(std::optional<std::size_t> buttonIndex)>;

    virtual ~AlertPresenter() = default;

    // Shows the alert and returns at once; `onResponse` runs on the main thread when it ends.
    virtual void present(Alert alert, Response onResponse) = 0;
};

} // namespace platform
