#pragma once
// The window's file-open dialog as a component. Execute shows it modally and
// keeps the confirmed path; how it is shown is a replaceable runner, so that a
// test answers for the user instead of blocking on a modal dialog.
#include "Component.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace uploader {

class TOpenDialog : public platform::TComponent {
    Q_OBJECT
public:
    // Shows a dialog for the filter; the chosen full path, or nothing on cancel.
    using Runner = std::function<std::optional<QString>(QWidget* parent, const QString& filter)>;

    explicit TOpenDialog(QWidget* owner, const QString& filter);

    const QString& Filter() const { return filter_; }
    // True when the user confirmed a file; FileName is then its full path.
    bool Execute();
    const QString& FileName() const { return fileName_; }

    // Replaces how the dialog is shown; an empty runner restores the Qt dialog.
    void SetRunner(Runner runner) { runner_ = std::move(runner); }

private:
    QWidget* owner_;
    QString filter_;
    QString fileName_;
    Runner runner_;
};

} // namespace uploader
