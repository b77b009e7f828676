#pragma once

#include "app/FeedbackCard.h"
#include "platform/Geometry.h"

#include <QWidget>

#include <memory>

namespace zentaris {

// A borderless window above the others that the pointer passes through and that never takes the
// focus: the home of a feedback card or of the drop-zone preview.
class OverlayWindow : public QWidget {
public:
    OverlayWindow();

    // Puts the window over a rectangle in screen coordinates (bottom-left origin, device pixels).
    void placeAt(const platform::Rect& frame);
    // Centres the window where `frame` is centred, at `frame`'s size taken as the size of the card
    // it holds: a card keeps its own layout whatever Qt's scale factor.
    void placeCentredOn(const platform::Rect& frame);
    // Replaces what the window shows; the new content fills it.
    void setContent(std::unique_ptr<QWidget> content);
    QWidget* content() const { return content_; }
    // Without a compositing manager translucent pixels draw opaque and would hide what lies
    // beneath; the window is then cut to the mostly opaque parts of its content instead.
    void setTranslucencyAvailable(bool available);
    // Content that draws the same in every frame is cut once, not again as an entrance settles.
    void setContentIsStill(bool still) { contentIsStill_ = still; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void cutToOpaqueContent();
    void scheduleCuts();

    QWidget* content_ = nullptr;
    bool translucencyAvailable_ = true;
    bool cutting_ = false;
    bool contentIsStill_ = false;
};

// A new card widget for a feedback card.
std::unique_ptr<QWidget> makeFeedbackCardView(const FeedbackCard& card);

} // namespace zentaris
