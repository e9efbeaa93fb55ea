#pragma once
// The controller's boot loader: announces itself with "OK" until the host answers
// "1", then starts the YMODEM receiver ("C") and stores the firmware it receives.
// After an upload it keeps quiet, as a controller running its new firmware would,
// until the tool leaves the line; the next tool to open it is greeted again (unless
// told to run once).
#include "SimEvents.h"
#include "SimulatedDevice.h"
#include "YmodemReceiver.h"

#include <optional>
#include <string>

namespace sim {

struct BootLoaderOptions {
    Duration announceInterval = std::chrono::seconds(1); // between two "OK"s
    ReceiverTiming timing;
    ReceiverFaults faults;
    std::string outPath;  // where a received firmware is stored
    bool once = false;    // finish after the first upload, whatever its outcome
    std::size_t maxFileSize = YmodemReceiver::DefaultMaxFileSize;
};

class BootLoader : public SimulatedDevice {
public:
    BootLoader(BootLoaderOptions options, SimEvents events);

    void start(TimePoint now) override;
    void receive(const uint8_t* data, std::size_t length, TimePoint now) override;
    void poll(TimePoint now) override;
    TimePoint deadline() const override;
    std::vector<uint8_t> takeOutput() override;
    void peerChanged(bool present, TimePoint now) override;
    bool finished() const override { return phase_ == Phase::Finished; }

private:
    enum class Phase { Announcing, Receiving, Resting, Finished };

    void announce(TimePoint now);
    void drainReceiver();
    void finishUpload();
    UploadResult store(const ReceivedFile& file) const;

    BootLoaderOptions options_;
    SimEvents events_;
    Phase phase_ = Phase::Announcing;
    TimePoint nextAnnounce_{};
    std::optional<YmodemReceiver> receiver_;
    std::vector<uint8_t> output_;
};

} // namespace sim
