#include "platform/qt/QtAlertPresenter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QWindow>

#include <memory>
#include <utility>

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

QWidget* QtAlertPresenter::shownOwner() const {
    QWidget* owner = owner_ ? owner_() : nullptr;
    return owner && owner->isVisible() ? owner : nullptr;
}

void QtAlertPresenter::present(Alert alert, Response onResponse) {
    QWidget* owner = shownOwner();
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
    if (!owner && owner_) adoptWhenOwnerShown(box);
    box->open();
}

void QtAlertPresenter::adoptWhenOwnerShown(QMessageBox* box) {
    if (orphans_.empty()) QCoreApplication::instance()->installEventFilter(this);
    orphans_.emplace_back(box);
}

bool QtAlertPresenter::eventFilter(QObject* watched, QEvent* event) {
    // Once the window manager shows the owner, the alerts still open move over to it, to be kept
    // above it from then on.
    if (event->type() != QEvent::Expose) return false;
    QWidget* owner = shownOwner();
    if (!owner || watched != owner->windowHandle() || !owner->windowHandle()->isExposed()) return false;
    QCoreApplication::instance()->removeEventFilter(this);
    for (const auto& box : std::exchange(orphans_, {})) {
        if (!box || !box->isVisible()) continue;
        box->setParent(owner, box->windowFlags()); // hides it
        box->open();
    }
    return false;
}

} // namespace platform::qt
