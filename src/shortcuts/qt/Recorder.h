#pragma once

#include "shortcuts/qt/ShortcutRecorderField.h"

#include <QWidget>

namespace GlobalShortcuts {

// The module's recorder with an optional label before it, laid out as a labelled row.
class Recorder : public QWidget {
public:
    // Without a label: the recorder alone.
    explicit Recorder(const Name& name, ShortcutRecorderField::OnChange onChange = {}, QWidget* parent = nullptr);
    // A title shown as it is.
    Recorder(const QString& title, const Name& name, ShortcutRecorderField::OnChange onChange = {},
             QWidget* parent = nullptr);
    // A label of the caller's making; the recorder takes it over.
    Recorder(const Name& name, ShortcutRecorderField::OnChange onChange, QWidget* label, QWidget* parent = nullptr);

    ShortcutRecorderField& field() const { return *field_; }
    // None without a label.
    QWidget* label() const { return label_; }

private:
    void build(QWidget* label);

    ShortcutRecorderField* field_;
    QWidget* label_ = nullptr;
};

} // namespace GlobalShortcuts
