#include "platform/qt/QtAlertPresenter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace platform::qt {

namespace {

QMessageBox::Icon iconFor(AlertStyle style) {
    switch (style) {
    case AlertStyle::warning: return QMessageBox::Warning;
    case AlertStyle::critical: return QMessageBox::Critical;
    case AlertStyle::informational: break;
    }
    return QMessageBox::Information;
}

} // namespace

void QtAlertPresenter::present(Alert alert, Response onResponse) {
    QWidget* owner = owner_ ? owner_() : nullptr;
    if (owner && !owner->isVisible()) owner = nullptr;
    // A parentless alert sinks under the next window the user clicks; one with a parent is kept
    // above it by the window manager (transient for it) and, being modal to it, takes its clicks.
    auto* box = new QMessageBox(owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(iconFor(alert.style));
    box->setTextFormat(Qt::PlainText);
    box->setText(QString::fromStdString(alert.messageText));
    box->setInformativeText(QString::fromStdString(alert.informativeText));
    // The informative label does not follow setTextFormat in every Qt version.
    for (auto* label : box->findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        label->setOpenExternalLinks(false);
    }

    std::vector<QAbstractButton*> buttons;
    for (std::size_t i = 0; i < alert.buttons.size(); ++i) {
        const auto role = i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        buttons.push_back(box->addButton(QString::fromStdString(alert.buttons[i]), role));
    }
    if (!buttons.empty()) box->setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    if (buttons.size() > 1) box->setEscapeButton(buttons.back());

    auto response = std::make_shared<Response>(std::move(onResponse));
    QObject::connect(box, &QMessageBox::finished, box, [box, buttons, response](int) {
        std::optional<std::size_t> chosen;
        const auto* clicked = box->clickedButton();
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (buttons[i] == clicked) chosen = i;
        }
        if (auto callback = std::exchange(*response, nullptr)) callback(chosen);
    });
    box->open();
}

} // namespace platform::qt
