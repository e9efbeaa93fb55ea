#pragma once
// The application object's services that the components rely on: the title used
// as caption of message boxes, running pending events, and the standard error
// report for exceptions raised inside event handlers.
#include <exception>
#include <functional>
#include <string>

namespace platform {

const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

// Runs the events waiting in the current thread's queue, then returns.
void ProcessMessages();

// The text the error report shows: the message, with a full stop added when its
// last character sorts after '.'.
std::string ErrorReportText(const std::string& message);

// Shows an exception as the standard error report does: error icon, the
// application title as caption.
void ShowException(const std::exception& error);

// Runs an event handler; an exception ends the handler and is shown by the error
// report, so that none crosses the event loop.
void RunGuarded(const std::function<void()>& handler);

} // namespace platform
