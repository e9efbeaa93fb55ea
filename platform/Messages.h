#pragma once
// Every message box of both programs goes through one sink, so that a test can
// capture the text instead of blocking on a modal dialog.
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class MessageIcon { None, Error };

struct MessageRequest {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

using MessageSink = std::function<void(const MessageRequest&)>;

// Replaces the sink; returns the previous one. An empty sink restores the modal Qt box.
MessageSink SetMessageSink(MessageSink sink);

// Shows a box with one OK button through the current sink.
void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon);

// A box with the application title as caption and no icon.
void ShowMessage(const std::string& text);

// Captures every message while it lives; the previous sink comes back afterwards.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<MessageRequest>& messages() const { return messages_; }
    std::vector<std::string> texts() const;
    void clear() { messages_.clear(); }

private:
    std::vector<MessageRequest> messages_;
    MessageSink previous_;
};

} // namespace platform
