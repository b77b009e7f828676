#include "settings/AboutSettingsView.h"

#include "platform/Bundle.h"
#include "preferences/AppStyle.h"
#include "settings/DeferredRefresh.h"
#include "settings/SettingsWidgets.h"
#include "views/PictureFile.h"
#include "views/SymbolImage.h"

#include <QDateTime>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <cmath>

namespace zentaris {

namespace {

struct FeatureTile {
    const char* symbol;
    QColor color;
    const char* titleKey;
    const char* descriptionKey;
};

QWidget* featureTile(const FeatureTile& feature) {
    auto* tile = new RoundedPanel([] { return withOpacity(SystemColors::controlBackground(), 0.3); }, 8);
    auto* column = new QVBoxLayout(tile);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(12);
    auto* badge = new RoundedPanel([color = feature.color] { return withOpacity(color, 0.15); }, 16);
    badge->setFixedSize(32, 32);
    auto* badgeLayout = new QHBoxLayout(badge);
    badgeLayout->setContentsMargins(0, 0, 0, 0);
    badgeLayout->addWidget(symbolView(feature.symbol, 16, feature.color), 0, Qt::AlignCenter);
    heading->addWidget(badge);
    auto* title = new LocalizedText(feature.titleKey, withWeight(AppStyle::bodyFont(), QFont::DemiBold));
    title->setWordWrap(true);
    heading->addWidget(title, 1);
    column->addLayout(heading);
    auto* description = new LocalizedText(feature.descriptionKey, AppStyle::captionFont(), SystemColors::secondaryText());
    description->setWordWrap(true);
    column->addWidget(description);
    column->addStretch(1);
    return tile;
}

QLabel* applicationIcon() {
    const auto path = platform::Bundle::main().resourcePath() / "images" / "AppIcon.svg";
    QSvgRenderer renderer(readPictureFile(path));
    if (!renderer.isValid()) return nullptr;
    const qreal ratio = 2.0;
    QPixmap pixmap(static_cast<int>(64 * ratio), static_cast<int>(64 * ratio));
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath clip;
        clip.addRoundedRect(QRectF(pixmap.rect()), 12 * ratio, 12 * ratio);
        painter.setClipPath(clip);
        renderer.render(&painter, QRectF(pixmap.rect()));
    }
    pixmap.setDevicePixelRatio(ratio);
    auto* icon = new QLabel;
    icon->setPixmap(pixmap);
    icon->setFixedSize(64, 64);
    auto* shadow = new QGraphicsDropShadowEffect(icon);
    shadow->setColor(QColor(0, 0, 0, 51));
    shadow->setBlurRadius(8);
    shadow->setOffset(0, 2);
    icon->setGraphicsEffect(shadow);
    return icon;
}

// The arrow of the check button, or a turning arc while a check runs.
QIcon progressIcon(double turn, const QColor& color) {
    const qreal ratio = 2.0;
    QPixmap pixmap(static_cast<int>(14 * ratio), static_cast<int>(14 * ratio));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ratio, ratio);
    // Scaled to 0.7 inside its 14 x 14 frame.
    const QRectF circle(7 - 4.9 + 0.8, 7 - 4.9 + 0.8, 9.8 - 1.6, 9.8 - 1.6);
    painter.setPen(QPen(withOpacity(color, 0.25), 1.6));
    painter.drawEllipse(circle);
    painter.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(circle, static_cast<int>(-turn * 360 * 16), 100 * 16);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return QIcon(pixmap);
}

QVBoxLayout* cardColumn(QWidget* card, int spacing) {
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(spacing);
    return column;
}

} // namespace

AboutSettingsView::AboutSettingsView(UpdateService& updateService, LanguageManager& languageManager, QWidget* parent)
    : AboutSettingsView(updateService, languageManager, platform::Bundle::main().appVersion(), parent) {}

AboutSettingsView::AboutSettingsView(UpdateService& updateService, LanguageManager& languageManager,
                                     std::optional<std::string> appVersion, QWidget* parent)
    : QWidget(parent),
      updateService_(updateService),
      languageManager_(languageManager),
      installedVersion_(appVersion.value_or(fallbackVersion)) {
    auto* column = makePageColumn(this);
    auto* title = new LocalizedText("about_app", withWeight(AppStyle::titleFont(), QFont::DemiBold));
    title->setContentsMargins(0, 0, 0, 8);
    column->addWidget(title);
    column->addWidget(buildHeaderCard());
    column->addWidget(buildFeaturesCard());
    column->addWidget(buildInformationRow());
    column->addWidget(buildUpdatesCard());
    column->addStretch(1);

    auto* refresher = new DeferredRefresh(this, [this] { refresh(); });
    refresher->watch(updateService_.objectWillChange()).watch(languageManager_.objectWillChange());
    refresh();
}

bool AboutSettingsView::showsProgress() const { return spinner_->state() == QAbstractAnimation::Running; }

QString AboutSettingsView::formattedDate(const platform::Date& date) {
    const auto milliseconds = static_cast<qint64>(std::llround(date.secondsSince1970 * 1000));
    return QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(milliseconds), QLocale::ShortFormat);
}

QWidget* AboutSettingsView::buildHeaderCard() {
    auto* card = makeCard();
    auto* row = new QHBoxLayout(card);
    row->setContentsMargins(16, 16, 16, 16);
    row->setSpacing(16);
    if (auto* icon = applicationIcon()) row->addWidget(icon);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(8);
    auto* name = new QLabel(QStringLiteral("Zentaris"));
    name->setFont(withWeight(AppStyle::titleFont(), QFont::Bold));
    // A label aligns a Latin-only text to the left even in a right-to-left interface; the
    // layout puts it at the leading edge instead.
    texts->addWidget(name, 0, Qt::AlignLeft);
    auto* description = new LocalizedText("app_description", AppStyle::calloutFont(), SystemColors::secondaryText());
    description->setWordWrap(true);
    texts->addWidget(description);
    row->addLayout(texts, 1);
    return card;
}

QWidget* AboutSettingsView::buildFeaturesCard() {
    static const FeatureTile layouts{"rectangle.3.group", SystemColors::blue(), "feature_layouts_title",
                                     "feature_layouts_desc"};
    static const FeatureTile shortcuts{"keyboard", SystemColors::purple(), "feature_shortcuts_title",
                                       "feature_shortcuts_desc"};
    static const FeatureTile dragAndDrop{"hand.raised.fill", SystemColors::orange(), "feature_dragdrop_title",
                                         "feature_dragdrop_desc"};
    static const FeatureTile screens{"display.2", SystemColors::green(), "feature_multiscreen_title",
                                     "feature_multiscreen_desc"};
    static const FeatureTile languages{"globe", SystemColors::cyan(), "feature_languages_title",
                                       "feature_languages_desc"};
    auto* card = makeCard();
    auto* column = cardColumn(card, 24);
    for (const auto& pair : {std::pair{&layouts, &shortcuts}, std::pair{&dragAndDrop, &screens}}) {
        auto* row = new QHBoxLayout;
        row->setSpacing(16);
        row->addWidget(featureTile(*pair.first), 1);
        row->addWidget(featureTile(*pair.second), 1);
        column->addLayout(row);
    }
    column->addWidget(featureTile(languages));
    return card;
}

QWidget* AboutSettingsView::buildInformationRow() {
    auto* row = new QWidget;
    auto* cards = new QHBoxLayout(row);
    cards->setContentsMargins(0, 0, 0, 0);
    cards->setSpacing(16);

    auto* versionCard = makeCard();
    auto* version = cardColumn(versionCard, 12);
    version->addWidget(sectionHeader("tag.fill", SystemColors::blue(), "version_info"));
    versionLabel_ = new QLabel;
    versionLabel_->setTextFormat(Qt::PlainText);
    versionLabel_->setFont(withWeight(AppStyle::subheadlineFont(), QFont::DemiBold));
    version->addWidget(versionLabel_);
    auto* versionDescription =
        new LocalizedText("version_description", AppStyle::captionFont(), SystemColors::secondaryText());
    versionDescription->setWordWrap(true);
    version->addWidget(versionDescription);
    version->addStretch(1);

    auto* companyCard = makeCard();
    auto* company = cardColumn(companyCard, 12);
    company->addWidget(sectionHeader("building.2.fill", SystemColors::purple(), "company_info"));
    company->addWidget(new LocalizedText("company", withWeight(AppStyle::subheadlineFont(), QFont::DemiBold)));
    auto* copyright = new LocalizedText("copyright", AppStyle::captionFont(), SystemColors::secondaryText());
    copyright->setWordWrap(true);
    company->addWidget(copyright);
    company->addStretch(1);

    cards->addWidget(versionCard, 1);
    cards->addWidget(companyCard, 1);
    return row;
}

QWidget* AboutSettingsView::buildUpdatesCard() {
    auto* card = makeCard();
    auto* column = cardColumn(card, 16);
    column->addWidget(sectionHeader("arrow.down.circle.fill", SystemColors::blue(), "updates_header"));

    auto* versionRow = new QHBoxLayout;
    versionRow->setSpacing(16);
    auto* installed = new QVBoxLayout;
    installed->setSpacing(4);
    installed->addWidget(new LocalizedText("current_version", withWeight(AppStyle::bodyFont(), QFont::Medium)));
    auto* versionLine = new QLabel(QStringLiteral("v") + QString::fromStdString(installedVersion_));
    versionLine->setTextFormat(Qt::PlainText);
    versionLine->setFont(AppStyle::calloutFont());
    setTextColor(versionLine, SystemColors::secondaryText());
    installed->addWidget(versionLine, 0, Qt::AlignLeft);
    versionRow->addLayout(installed);
    versionRow->addStretch(1);
    checkButton_ = new QPushButton;
    applyBorderedStyle(checkButton_);
    checkButton_->setIconSize(QSize(14, 14));
    connect(checkButton_, &QPushButton::clicked, this, [this] { updateService_.checkForUpdates(true); });
    spinner_ = new QVariantAnimation(checkButton_);
    spinner_->setStartValue(0.0);
    spinner_->setEndValue(1.0);
    spinner_->setDuration(1000);
    spinner_->setLoopCount(-1);
    connect(spinner_, &QVariantAnimation::valueChanged, checkButton_, [this](const QVariant& turn) {
        checkButton_->setIcon(progressIcon(turn.toDouble(), SystemColors::secondaryText()));
    });
    versionRow->addWidget(checkButton_);
    column->addLayout(versionRow);

    announcementDivider_ = divider();
    column->addWidget(announcementDivider_);
    announcement_ = new RoundedPanel([] { return withOpacity(SystemColors::orange(), 0.1); }, 6);
    auto* announcementRow = new QHBoxLayout(announcement_);
    announcementRow->setContentsMargins(12, 12, 12, 12);
    announcementRow->setSpacing(12);
    announcementRow->addWidget(symbolView("exclamationmark.circle.fill", 20, SystemColors::orange()));
    auto* announcementTexts = new QVBoxLayout;
    announcementTexts->setSpacing(4);
    // Server texts are shown as written, never as markup.
    announcementTitle_ = new QLabel;
    announcementTitle_->setTextFormat(Qt::PlainText);
    announcementTitle_->setFont(withWeight(AppStyle::bodyFont(), QFont::Medium));
    announcementTexts->addWidget(announcementTitle_);
    releaseNotes_ = new LimitedLinesLabel(2);
    releaseNotes_->setFont(AppStyle::captionFont());
    setTextColor(releaseNotes_, SystemColors::secondaryText());
    announcementTexts->addWidget(releaseNotes_);
    announcementRow->addLayout(announcementTexts, 1);
    downloadButton_ = new QPushButton;
    applyProminentStyle(downloadButton_);
    connect(downloadButton_, &QPushButton::clicked, this,
            [this] { updateService_.openDownloadPage(updateService_.downloadUrl()); });
    announcementRow->addWidget(downloadButton_);
    column->addWidget(announcement_);

    lastCheckRow_ = new QWidget;
    auto* lastCheck = new QHBoxLayout(lastCheckRow_);
    lastCheck->setContentsMargins(0, 0, 0, 0);
    lastCheckLabel_ = new QLabel;
    lastCheckLabel_->setTextFormat(Qt::PlainText);
    lastCheckLabel_->setFont(AppStyle::captionFont());
    setTextColor(lastCheckLabel_, SystemColors::secondaryText());
    lastCheck->addWidget(lastCheckLabel_);
    lastCheck->addStretch(1);
    column->addWidget(lastCheckRow_);
    return card;
}

void AboutSettingsView::refresh() {
    const auto text = [this](const char* key) { return QString::fromStdString(languageManager_.localizedString(key)); };
    const auto format = [this](const char* key, const std::string& argument) {
        return QString::fromStdString(languageManager_.localizedFormat(key, {argument}));
    };
    versionLabel_->setText(format("version_format", installedVersion_));

    const bool checking = updateService_.isChecking();
    checkButton_->setText(text("check_for_updates"));
    checkButton_->setEnabled(!checking);
    if (checking && spinner_->state() != QAbstractAnimation::Running) spinner_->start();
    if (!checking) {
        spinner_->stop();
        checkButton_->setIcon(QIcon(symbolPixmap("arrow.clockwise", 14, SystemColors::primaryText(), 2.0)));
    }

    const bool available = updateService_.updateAvailable();
    announcementDivider_->setVisible(available);
    announcement_->setVisible(available);
    announcementTitle_->setText(
        format("update_available_version", UpdateService::shownVersion(updateService_.latestVersion())));
    releaseNotes_->setFullText(QString::fromStdString(UpdateService::shownReleaseNotes(updateService_.releaseNotes())));
    releaseNotes_->setVisible(!updateService_.releaseNotes().empty());
    downloadButton_->setText(text("update_download"));

    const auto& lastCheckDate = updateService_.lastCheckDate();
    lastCheckRow_->setVisible(lastCheckDate.has_value());
    if (lastCheckDate) lastCheckLabel_->setText(format("last_checked", formattedDate(*lastCheckDate).toStdString()));
}

} // namespace zentaris
