#pragma once
// The sender as the uploader window wires it: a TVaComm opened on a pty slave and a
// TVaYModem attached to it, with every event recorded.
#include "PtyPair.h"
#include "VaComm.h"
#include "Vaprotocol.h"

#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ymodem_test {

struct TransferRecord {
    int starts = 0;
    int ends = 0;
    std::optional<int> exitCode;
    std::vector<std::pair<int, int>> errors;  // code, count
    std::vector<std::pair<int, int>> packets; // block, byte count
    std::vector<std::pair<QString, int>> files;
};

class SenderRig {
public:
    explicit SenderRig(const std::string& devicePath);

    serial::TVaComm comm;
    uploader::TVaYModem sender;
    TransferRecord record;

    // Runs the GUI thread's events until OnTransferEnd, at most `deadline`.
    bool WaitForEnd(std::chrono::milliseconds deadline = std::chrono::seconds(60));
};

// Runs the GUI thread's events until `done` holds, at most `deadline`. Unlike
// QTest::qWaitFor it does not sleep between rounds, so a transfer that needs two
// hand-overs per block runs at the speed it has in the program.
bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline);

// Deterministic, varied file contents (zeros included, so padding is told apart only
// by position).
std::vector<uint8_t> TestBytes(std::size_t size, unsigned seed = 1);
// Writes the bytes to dir/name and returns the full path.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadWholeFile(const QString& path);

} // namespace ymodem_test
