#include "Simulator.h"

#include "FlightController.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

namespace sim {

namespace {

// Longest wait between two looks at the line: how soon a tool's open or close is noticed.
constexpr int LookIntervalMs = 20;
// A tool that stops reading loses whole chunks beyond this, as a controller's
// telemetry is lost on a line nobody reads.
constexpr std::size_t MaxPending = 8192;

std::unique_ptr<SimulatedDevice> MakeDevice(const SimulatorOptions& options, const SimEvents& events)
{
    if (options.bootLoader)
        return std::make_unique<BootLoader>(options.boot, events);
    return std::make_unique<FlightController>(options.frameRate, events);
}

} // namespace

Simulator::Simulator(SimulatorOptions options, SimEvents events)
    : options_(std::move(options)), events_(std::move(events))
{
    if (options_.boot.outPath.empty())
        options_.boot.outPath = (options_.linkPath.empty() ? std::string("/tmp/novalk-sim") : options_.linkPath) +
                                "-firmware.fcu";
    recording_ = recordingEvents();
}

Simulator::~Simulator()
{
    stop();
    if (wakeRead_ >= 0)
        ::close(wakeRead_);
    if (wakeWrite_ >= 0)
        ::close(wakeWrite_);
}

bool Simulator::open(std::string& error)
{
    int wake[2];
    if (wakeRead_ < 0) {
        if (::pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
            error = "cannot create the wake-up pipe";
            return false;
        }
        wakeRead_ = wake[0];
        wakeWrite_ = wake[1];
    }
    if (!pty_.open(options_.linkPath, error))
        return false;
    device_ = MakeDevice(options_, recording_);
    return true;
}

SimEvents Simulator::recordingEvents()
{
    SimEvents recording;
    recording.log = [this](const std::string& line) {
        if (events_.log)
            events_.log(line);
        record([&](SimHistory& h) { h.log.push_back(line); });
    };
    recording.command = [this](const ReceivedCommand& command) {
        if (events_.command)
            events_.command(command);
        record([&](SimHistory& h) { h.commands.push_back(command); });
    };
    recording.upload = [this](const UploadResult& result) {
        if (events_.upload)
            events_.upload(result);
        record([&](SimHistory& h) { h.uploads.push_back(result); });
    };
    return recording;
}

void Simulator::record(const std::function<void(SimHistory&)>& change)
{
    {
        std::lock_guard lock(historyMutex_);
        change(history_);
    }
    historyChanged_.notify_all();
}

SimHistory Simulator::history() const
{
    std::lock_guard lock(historyMutex_);
    return history_;
}

bool Simulator::waitFor(const std::function<bool(const SimHistory&)>& done, Duration timeout) const
{
    std::unique_lock lock(historyMutex_);
    return historyChanged_.wait_for(lock, timeout, [&] { return done(history_); });
}

void Simulator::start()
{
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

void Simulator::stop()
{
    requestStop();
    if (thread_.joinable())
        thread_.join();
}

void Simulator::requestStop() noexcept
{
    stopRequested_ = true;
    if (wakeWrite_ >= 0) {
        const char wake = 1;
        [[maybe_unused]] auto ignored = ::write(wakeWrite_, &wake, 1);
    }
}

void Simulator::run()
{
    if (device_) {
        loop();
        linger();
    }
    pty_.close();
}

void Simulator::loop()
{
    TimePoint now = Clock::now();
    peer_ = false; // a tool that is already there is noticed, and announced, below
    device_->start(now);
    queue(device_->takeOutput());
    flush();
    uint8_t buffer[4096];
    while (!stopRequested_ && !device_->finished()) {
        now = Clock::now();
        const bool present = pty_.peerPresent();
        if (present != peer_)
            notePeer(present, now);

        auto untilDue = std::chrono::ceil<std::chrono::milliseconds>(device_->deadline() - now).count();
        int timeout = static_cast<int>(std::clamp<decltype(untilDue)>(untilDue, 0, LookIntervalMs));
        if (!pending_.empty() && peer_)
            timeout = std::min(timeout, 2); // the line was full; try again soon
        const auto event = pty_.wait(timeout, wakeRead_);
        now = Clock::now();
        if (event == PtyEndpoint::Event::Woken) {
            while (::read(wakeRead_, buffer, sizeof buffer) > 0) {
            }
            continue;
        }
        if (event == PtyEndpoint::Event::Input) {
            if (const std::size_t got = pty_.read(buffer, sizeof buffer))
                device_->receive(buffer, got, now);
        }
        device_->poll(now);
        queue(device_->takeOutput());
        flush();
    }
}

void Simulator::notePeer(bool present, TimePoint now)
{
    peer_ = present;
    if (present) {
        recording_.Log("line: a tool opened " + pty_.path());
    } else {
        recording_.Log("line: the tool closed " + pty_.path());
        // Whatever the tool changed goes back to raw for the next one.
        pty_.makeRaw();
        pending_.clear();
    }
    device_->peerChanged(present, now);
}

void Simulator::queue(std::vector<uint8_t> chunk)
{
    if (chunk.empty() || !peer_)
        return; // nobody listens: what a device says now is lost, as on an open line
    if (pending_.size() + chunk.size() > MaxPending) {
        ++droppedChunks_;
        return;
    }
    pending_.insert(pending_.end(), chunk.begin(), chunk.end());
}

void Simulator::flush()
{
    if (pending_.empty())
        return;
    const std::size_t put = pty_.write(pending_.data(), pending_.size());
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(put));
}

// A device that finished on its own (a boot loader told to run once) may just have
// sent its last reply: give the tool a moment to read it before the line goes.
void Simulator::linger()
{
    if (stopRequested_)
        return;
    const TimePoint until = Clock::now() + std::chrono::seconds(1);
    while (!stopRequested_ && Clock::now() < until && pty_.peerPresent()) {
        flush();
        if (pty_.wait(20, wakeRead_) == PtyEndpoint::Event::Input) {
            uint8_t discard[256];
            pty_.read(discard, sizeof discard);
        }
    }
}

} // namespace sim
