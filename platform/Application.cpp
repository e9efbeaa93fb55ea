#include "Application.h"

#include "Messages.h"

#include <QCoreApplication>

namespace platform {
namespace {
std::string& Title()
{
    static std::string title;
    return title;
}
} // namespace

const std::string& ApplicationTitle() { return Title(); }

void SetApplicationTitle(const std::string& title) { Title() = title; }

void ProcessMessages() { QCoreApplication::processEvents(); }

std::string ErrorReportText(const std::string& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void ShowException(const std::exception& error)
{
    ShowMessageBox(ErrorReportText(error.what()), ApplicationTitle(), MessageIcon::Error);
}

void RunGuarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error(""));
    }
}

} // namespace platform
