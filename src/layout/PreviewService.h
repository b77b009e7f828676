#pragma once

#include "layout/ScreenDetectionService.h"
#include "layout/WindowFrameCalculator.h"

namespace zentaris {

// Where a window dragged to a point would land.
class PreviewService {
public:
    PreviewService(const WindowFrameCalculator& frameCalculator, const ScreenDetectionService& screenDetection)
        : frameCalculator_(frameCalculator), screenDetection_(screenDetection) {}

    // The drop zone for a pointer position in a usable area: corners, edges, the centre box and
    // the columns between them. Always a zone.
    platform::Rect dropZoneFrame(platform::Point point, const platform::Rect& usable) const;

    const WindowFrameCalculator& frameCalculator() const { return frameCalculator_; }
    const ScreenDetectionService& screenDetection() const { return screenDetection_; }

private:
    const WindowFrameCalculator& frameCalculator_;
    const ScreenDetectionService& screenDetection_;
};

// The zone map itself, with no services.
platform::Rect dropZoneFor(platform::Point point, const platform::Rect& usable);

} // namespace zentaris
