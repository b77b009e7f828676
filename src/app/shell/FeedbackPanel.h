#pragma once

#include <QColor>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace zentaris {

// A small borderless card in the middle of the screen under the pointer that hides itself after a moment.
class FeedbackPanel : public QWidget {
public:
    FeedbackPanel();

    // Shows the card with a title and a second line, or keeps the one on screen and restarts its timer.
    void present(const QString& title, const QString& detail, const QColor& accent, int visibleMilliseconds);
    bool isShowing() const { return isVisible(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QString detail_;
    QColor accent_;
    QTimer hideTimer_;
};

} // namespace zentaris
