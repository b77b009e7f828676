#pragma once

#include <QString>
#include <QWidget>

namespace zentaris::tutorial {

// Text that wraps between words onto at most `maximumLines` lines; what does not fit ends in an
// ellipsis on the last line, as does a word wider than a line.
class LineLimitedLabel : public QWidget {
public:
    LineLimitedLabel(int maximumLines, Qt::Alignment alignment, QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return text_; }
    void setTextColor(const QColor& color);
    // The lines as shown at `width`.
    QStringList shownLines(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString text_;
    int maximumLines_;
    Qt::Alignment alignment_;
};

} // namespace zentaris::tutorial
