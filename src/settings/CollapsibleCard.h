#pragma once

#include <QColor>
#include <QFrame>
#include <QVariantAnimation>

#include <functional>
#include <string>

class QLabel;

namespace zentaris {

class PlainButton;

// A titled card whose content can be folded away. The owner decides what a click on the header
// changes and tells the card through setExpanded.
class CollapsibleCard : public QFrame {
public:
    CollapsibleCard(std::string title, std::string icon, QColor iconColor, bool isExpanded,
                    std::function<void()> onToggle, QWidget* content, QWidget* parent = nullptr);

    bool isExpanded() const { return isExpanded_; }
    void setExpanded(bool expanded);

    PlainButton* header() const { return header_; }
    QWidget* content() const { return content_; }
    // The chevron's turn in degrees once any animation has ended: 90 expanded, 0 folded.
    double chevronAngle() const { return isExpanded_ ? 90.0 : 0.0; }

private:
    void drawChevron(double angle);

    bool isExpanded_;
    std::function<void()> onToggle_;
    PlainButton* header_ = nullptr;
    QLabel* chevron_ = nullptr;
    QWidget* content_ = nullptr;
    QVariantAnimation chevronTurn_;
};

} // namespace zentaris
