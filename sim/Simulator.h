#pragma once
// The simulator in one object: a pseudo-terminal linked at a path, and the device it
// plays on it (the flight controller, or its boot loader), driven by one loop.
//
// In a program: open(), then run() on the main thread until requestStop() (safe to
// call from a signal handler). In a test: open(), start() runs the loop on a thread
// of its own, waitFor() awaits what the simulator has seen, stop() or the destructor
// ends it and removes the link. An uploader under test, for example:
//
//     sim::SimulatorOptions options;
//     options.linkPath = folder + "/link";
//     options.bootLoader = true;
//     options.boot.faults.nakFirstEot = true;        // as a standard receiver does
//     options.boot.announceInterval = 200ms;         // shorter waits for a test
//     options.boot.timing.startInterval = 200ms;
//     sim::Simulator simulator(options);
//     std::string error;
//     ASSERT_TRUE(simulator.open(error)) << error;
//     simulator.start();
//     ... connect the uploader to simulator.path() ...
//     simulator.waitFor([](const sim::SimHistory& h) { return !h.uploads.empty(); }, 60s);
//     // history().uploads[0].succeeded, and the bytes in simulator.firmwarePath()
#include "BootLoader.h"
#include "PtyEndpoint.h"
#include "SimEvents.h"
#include "SimulatedDevice.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

struct SimulatorOptions {
    std::string linkPath = "/tmp/novalk-sim"; // empty: no link, tools open the slave itself
    bool bootLoader = false;
    double frameRate = 1280;                  // telemetry frames a second: 115200 baud, 10 bits a byte
    BootLoaderOptions boot;                   // outPath empty: linkPath + "-firmware.fcu"
};

// Everything the simulator has reported so far.
struct SimHistory {
    std::vector<std::string> log;
    std::vector<ReceivedCommand> commands;
    std::vector<UploadResult> uploads;
};

class Simulator {
public:
    // events are called on the loop's thread, in addition to the history being kept.
    explicit Simulator(SimulatorOptions options, SimEvents events = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    bool open(std::string& error);
    // The path a tool opens.
    const std::string& path() const { return pty_.path(); }
    const std::string& firmwarePath() const { return options_.boot.outPath; }

    // Runs until requestStop() or until the device is finished; then closes the line.
    void run();
    void start();
    void stop();
    // Only sets a flag and writes to a pipe: safe from a signal handler.
    void requestStop() noexcept;

    SimHistory history() const;
    // Waits until done(history) holds or the time-out passes; returns done's last answer.
    bool waitFor(const std::function<bool(const SimHistory&)>& done, Duration timeout) const;

private:
    SimEvents recordingEvents();
    void record(const std::function<void(SimHistory&)>& change);
    void loop();
    void notePeer(bool present, TimePoint now);
    void queue(std::vector<uint8_t> chunk);
    void flush();
    void linger();

    SimulatorOptions options_;
    SimEvents events_;    // the caller's
    SimEvents recording_; // the caller's, and into the history
    PtyEndpoint pty_;
    std::unique_ptr<SimulatedDevice> device_;
    std::vector<uint8_t> pending_; // accepted for the line, not yet taken by it
    bool peer_ = false;
    std::size_t droppedChunks_ = 0;

    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> stopRequested_{false};
    std::thread thread_;

    mutable std::mutex historyMutex_;
    mutable std::condition_variable historyChanged_;
    SimHistory history_;
};

} // namespace sim
