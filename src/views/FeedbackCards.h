#pragma once

#include "views/FeedbackCardView.h"

#include <cstdint>

namespace zentaris {

// A drag-to-snap drag was cancelled with Escape.
class CancellationFeedbackView : public FeedbackCardView {
public:
    explicit CancellationFeedbackView(QWidget* parent = nullptr);
};

// Drag-to-snap was switched on or off; the hint shows the drag-mode shortcut when one is set.
class DragModeToggleFeedbackView : public FeedbackCardView {
public:
    explicit DragModeToggleFeedbackView(bool isEnabled, QWidget* parent = nullptr);
};

// An arrange-all found more windows than the layout has places.
class TooManyWindowsFeedbackView : public FeedbackCardView {
public:
    TooManyWindowsFeedbackView(std::int64_t required, std::int64_t actual, QWidget* parent = nullptr);
};

} // namespace zentaris
