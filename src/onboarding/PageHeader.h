#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QString>
#include <QWidget>

#include <string>

class QBoxLayout;

namespace zentaris::tutorial {

class LocalizedTexts;

// The top of a tutorial page: a large symbol, a bold title and a secondary subtitle, centred.
struct PageHeader {
    std::string symbol;
    int symbolSize;
    QColor symbolColor;
    std::string titleKey;
    double titleSize;
    std::string subtitleKey;
    QFont subtitleFont;
    int spacing;
    int subtitleMaximumWidth = QWIDGETSIZE_MAX;
};

void addPageHeader(QBoxLayout* page, LocalizedTexts& texts, const PageHeader& header);

// A tip on a faint yellow ground: a fixed emoji, then the key's text in secondary colour (11).
struct TipBox {
    QString emoji;
    double emojiSize;
    std::string key;
    QMargins padding;
    int spacing;
    double cornerRadius;
};

QWidget* makeTipBox(LocalizedTexts& texts, const TipBox& tip);

} // namespace zentaris::tutorial
