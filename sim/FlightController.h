#pragma once
// The flight controller in flight: telemetry of all thirteen types in turn, paced as
// the serial line carries them, and the console's commands applied to its stored
// settings, which the telemetry echoes.
#include "CommandParser.h"
#include "ControllerSettings.h"
#include "FlightModel.h"
#include "Pacer.h"
#include "SimEvents.h"
#include "SimulatedDevice.h"

namespace sim {

class FlightController : public SimulatedDevice {
public:
    FlightController(double framesPerSecond, SimEvents events);

    void start(TimePoint now) override;
    void receive(const uint8_t* data, std::size_t length, TimePoint now) override;
    void poll(TimePoint now) override;
    TimePoint deadline() const override;
    std::vector<uint8_t> takeOutput() override;
    void peerChanged(bool present, TimePoint now) override;

private:
    void handle(const protocol::ReceivedCommand& command, TimePoint now);
    double seconds(TimePoint now) const { return std::chrono::duration<double>(now - start_).count(); }

    SimEvents events_;
    Pacer pacer_;
    FlightModel model_;
    ControllerSettings settings_;
    protocol::CommandParser commands_;
    TimePoint start_{};
    TimePoint lastPoll_{};
    std::size_t nextType_ = 0;
    bool listening_ = false; // a tool has the line open
    std::vector<uint8_t> output_;
};

} // namespace sim
