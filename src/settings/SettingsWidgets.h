#pragma once

#include "preferences/SystemColors.h"

#include <QColor>
#include <QFont>
#include <QLabel>

#include <functional>
#include <string>

class QFrame;
class QLayout;
class QScrollArea;
class QVBoxLayout;

namespace zentaris {

// The named colours of the settings pages.
QFont withWeight(QFont font, QFont::Weight weight);
void setTextColor(QWidget* widget, const QColor& color);

// A text of the interface language: the translation of its key, shown again after every change
// of language. A transform can reshape the translation (upper case for section titles).
class LocalizedText : public QLabel {
public:
    LocalizedText(std::string key, const QFont& font, const QColor& color = SystemColors::primaryText(),
                  QWidget* parent = nullptr);

    const std::string& key() const { return key_; }
    void setKey(std::string key);
    void setTransform(std::function<QString(const QString&)> transform);
    void relabel();

private:
    std::string key_;
    std::function<QString(const QString&)> transform_;
};

// A plain panel: a rounded rectangle filled with a colour that is read at every paint.
class RoundedPanel : public QWidget {
public:
    RoundedPanel(std::function<QColor()> fill, double radius, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<QColor()> fill_;
    double radius_;
};

// A wrapping text cut to at most `maxLines` lines, the last one ending in an ellipsis when cut.
class LimitedLinesLabel : public QLabel {
public:
    LimitedLinesLabel(int maxLines, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return fullText_; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString fittedText(int width) const;

    int maxLines_;
    QString fullText_;
};

// Symbols are sized like the text beside them: in points, which the screen turns into pixels.
int pointsToPixels(double points);

// A symbol drawn at `side` points in a fixed square, centred in a frame of `frameWidth` points
// (at least `side`).
QLabel* symbolView(const std::string& symbol, int side, const QColor& color, int frameWidth = 0, QWidget* parent = nullptr);
void setSymbol(QLabel* view, const std::string& symbol, int side, const QColor& color);

// A card: rounded, on the card background, with the card shadow; its children keep their own look.
QFrame* makeCard(QWidget* parent = nullptr);
// The heading of a card: a symbol in the card's colour and the title.
QWidget* sectionHeader(const std::string& symbol, const QColor& color, const std::string& titleKey);
// A title in medium weight above a secondary description.
QWidget* settingLabel(const std::string& titleKey, const std::string& descriptionKey);
QFrame* divider();
// The filled look of a window's main button.
void applyProminentStyle(QWidget* button);
// The outlined look of an ordinary button beside it.
void applyBorderedStyle(QWidget* button);
// The scrolling frame of a page on the window background.
QScrollArea* makePageScrollArea(QWidget* content, QWidget* parent = nullptr);
// The column of a page, padded 24 with 24 between its parts, scrolling on the window background
// and filling `page`.
QVBoxLayout* makePageColumn(QWidget* page);
// A page's title above its secondary description.
QLayout* pageHeader(const std::string& titleKey, const std::string& descriptionKey);

} // namespace zentaris
