#pragma once
// lrzsz's YMODEM receiver `rb` as the boot loader's far end: started in a folder
// of its own and attached to the line (the pty master) through pipes by a relay
// thread. Through pipes its terminal flushes do nothing, as on a real line.
//
// rb is started first and attached later, when the sender already waits: its
// first start character then waits in the pipe instead of being purged, and
// rb's start-up time never counts against the sender's time-out.
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace fwloader_test {

class YModemReceiver {
public:
    // Starts rb; nothing reaches the line before Attach.
    explicit YModemReceiver(int lineFd);
    ~YModemReceiver(); // ends rb if it still runs
    YModemReceiver(const YModemReceiver&) = delete;
    YModemReceiver& operator=(const YModemReceiver&) = delete;

    // From now on rb and the line hear each other.
    void Attach();
    // rb has exited and everything it wrote has been put on the line.
    bool Finished() const { return finished_.load(); }
    int ExitStatus() const { return exitStatus_.load(); }

    QString Folder() const { return folder_.path(); }
    std::vector<uint8_t> ReceivedFile(const std::string& name) const;
    // What rb said on its error output, for failure messages.
    std::string Diagnostics() const;

private:
    void Relay();
    QString LogPath() const;

    QTemporaryDir folder_;    // rb's working folder: the files it receives
    QTemporaryDir logFolder_; // its error output, kept apart from them
    int line_;
    int toRb_ = -1;
    int fromRb_ = -1;
    pid_t pid_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> exitStatus_{-1};
    std::thread relay_;
};

std::vector<uint8_t> ReadWholeFile(const std::string& path);

} // namespace fwloader_test
