#pragma once
// The boot loader's end of the uploader's line: a pty whose slave the uploader
// opens by its path, while the test speaks for the boot loader on the master and
// then hands the line to rb for the YMODEM part.
#include "PtyPair.h"
#include "YModemReceiver.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace fwloader_test {

using namespace std::chrono_literals;

// Runs the GUI thread's events until the condition holds or the deadline passes.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline = 30s);

class BootLoaderLine {
public:
    const std::string& Path() const { return pty_.slavePath(); }

    // One write: the uploader sees the text in one read.
    void Say(const std::string& text);
    // What the uploader sent: waits (running the GUI thread) until `count`
    // bytes came or `deadline` passed, then returns them.
    std::string Heard(std::size_t count, std::chrono::milliseconds deadline);

    // rb takes over the line until it exits.
    std::unique_ptr<YModemReceiver> StartReceiver();

private:
    serialtest::PtyPair pty_;
};

} // namespace fwloader_test
