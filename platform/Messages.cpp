#include "Messages.h"

#include "Application.h"

#include <QMessageBox>
#include <QString>

namespace platform {
namespace {

void ShowModalBox(const MessageRequest& request)
{
    QMessageBox box(request.icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(request.caption), QString::fromStdString(request.text),
                    QMessageBox::Ok);
    box.exec();
}

MessageSink& CurrentSink()
{
    static MessageSink sink;
    return sink;
}

} // namespace

MessageSink SetMessageSink(MessageSink sink)
{
    MessageSink previous = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
    return previous;
}

void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon)
{
    const MessageRequest request{caption, text, icon};
    if (CurrentSink())
        CurrentSink()(request);
    else
        ShowModalBox(request);
}

void ShowMessage(const std::string& text)
{
    ShowMessageBox(text, ApplicationTitle(), MessageIcon::None);
}

MessageCapture::MessageCapture()
    : previous_(SetMessageSink([this](const MessageRequest& r) { messages_.push_back(r); }))
{
}

MessageCapture::~MessageCapture() { SetMessageSink(std::move(previous_)); }

std::vector<std::string> MessageCapture::texts() const
{
    std::vector<std::string> result;
    for (const auto& m : messages_)
        result.push_back(m.text);
    return result;
}

} // namespace platform
