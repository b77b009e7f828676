#include "shortcuts/qt/Recorder.h"

#include <QHBoxLayout>
#include <QLabel>

namespace GlobalShortcuts {

Recorder::Recorder(const Name& name, ShortcutRecorderField::OnChange onChange, QWidget* parent)
    : QWidget(parent), field_(new ShortcutRecorderField(name, std::move(onChange), this)) {
    build(nullptr);
}

Recorder::Recorder(const QString& title, const Name& name, ShortcutRecorderField::OnChange onChange, QWidget* parent)
    : QWidget(parent), field_(new ShortcutRecorderField(name, std::move(onChange), this)) {
    auto* text = new QLabel(title, this);
    text->setTextFormat(Qt::PlainText);
    text->setBuddy(field_);
    build(text);
}

Recorder::Recorder(const Name& name, ShortcutRecorderField::OnChange onChange, QWidget* label, QWidget* parent)
    : QWidget(parent), field_(new ShortcutRecorderField(name, std::move(onChange), this)) {
    build(label);
}

void Recorder::build(QWidget* label) {
    label_ = label;
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    if (label_) {
        label_->setParent(this);
        row->addWidget(label_, 1);
    }
    row->addWidget(field_, 0, Qt::AlignVCenter);
}

} // namespace GlobalShortcuts
