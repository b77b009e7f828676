#pragma once

#include <QImage>

namespace zentaris {

// The image blurred by about `radius` pixels (three box passes each way), grown by the radius on
// every side so that nothing is cut off.
QImage blurredImage(const QImage& image, int radius);

} // namespace zentaris
