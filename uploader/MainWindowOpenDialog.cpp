#include "MainWindowOpenDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace uploader {

namespace {

std::optional<QString> ShowQtDialog(QWidget* parent, const QString& filter)
{
    const QString chosen = QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace

TOpenDialog::TOpenDialog(QWidget* owner, const QString& filter)
    : platform::TComponent(owner), owner_(owner), filter_(filter)
{
}

bool TOpenDialog::Execute()
{
    const std::optional<QString> chosen = runner_ ? runner_(owner_, filter_) : ShowQtDialog(owner_, filter_);
    if (!chosen || chosen->isEmpty())
        return false;
    // The sender and the window both name the file by its full path.
    fileName_ = QFileInfo(*chosen).absoluteFilePath();
    return true;
}

} // namespace uploader
