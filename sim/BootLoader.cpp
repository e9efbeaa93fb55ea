#include "BootLoader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace sim {

BootLoader::BootLoader(BootLoaderOptions options, SimEvents events)
    : options_(std::move(options)), events_(std::move(events))
{
}

void BootLoader::start(TimePoint now)
{
    phase_ = Phase::Announcing;
    events_.Log("boot loader: announcing \"OK\" until the host answers \"1\"");
    announce(now);
}

void BootLoader::announce(TimePoint now)
{
    output_.push_back('O');
    output_.push_back('K');
    nextAnnounce_ = now + options_.announceInterval;
}

void BootLoader::receive(const uint8_t* data, std::size_t length, TimePoint now)
{
    if (phase_ == Phase::Announcing) {
        const uint8_t* end = data + length;
        const uint8_t* one = std::find(data, end, uint8_t{'1'});
        if (one == end)
            return; // anything else before the host's "1" means nothing to a boot loader
        events_.Log("boot loader: got \"1\", starting the YMODEM receiver");
        receiver_.emplace(options_.timing, options_.faults, options_.maxFileSize);
        receiver_->begin(now);
        phase_ = Phase::Receiving;
        data = one + 1;
        length = static_cast<std::size_t>(end - data);
    }
    if (phase_ == Phase::Receiving) {
        receiver_->receive(data, length, now);
        drainReceiver();
        if (receiver_->outcome() != YmodemReceiver::Outcome::Running)
            finishUpload();
    }
}

void BootLoader::poll(TimePoint now)
{
    if (phase_ == Phase::Announcing && now >= nextAnnounce_) {
        announce(now);
    } else if (phase_ == Phase::Receiving) {
        receiver_->poll(now);
        drainReceiver();
        if (receiver_->outcome() != YmodemReceiver::Outcome::Running)
            finishUpload();
    }
}

TimePoint BootLoader::deadline() const
{
    switch (phase_) {
    case Phase::Announcing:
        return nextAnnounce_;
    case Phase::Receiving:
        return receiver_->deadline();
    case Phase::Resting:
    case Phase::Finished:
        break;
    }
    return TimePoint::max();
}

std::vector<uint8_t> BootLoader::takeOutput()
{
    return std::exchange(output_, {});
}

void BootLoader::peerChanged(bool present, TimePoint now)
{
    // A host that just opened the line should not have to wait a whole interval.
    if (present && phase_ == Phase::Announcing)
        announce(now);
    if (!present && phase_ == Phase::Resting) {
        phase_ = Phase::Announcing;
        nextAnnounce_ = now;
        events_.Log("boot loader: the tool left; announcing \"OK\" to the next one");
    }
}

void BootLoader::drainReceiver()
{
    auto bytes = receiver_->takeOutput();
    output_.insert(output_.end(), bytes.begin(), bytes.end());
    for (const auto& line : receiver_->takeNotes())
        events_.Log("ymodem: " + line);
}

void BootLoader::finishUpload()
{
    UploadResult result;
    if (receiver_->outcome() == YmodemReceiver::Outcome::Succeeded) {
        result = store(receiver_->file());
    } else {
        result.reason = receiver_->failure();
        result.senderName = receiver_->file().name;
    }
    if (result.succeeded)
        events_.Log("upload succeeded: " + std::to_string(result.bytes) + " bytes stored in " + result.storedPath);
    else
        events_.Log("upload failed: " + result.reason);
    if (events_.upload)
        events_.upload(result);
    receiver_.reset();

    if (options_.once) {
        phase_ = Phase::Finished;
        return;
    }
    // An uploader answers every "OK" with "1", so announcing again to the tool that is
    // still connected would start the same upload over and over. Quiet until it leaves.
    phase_ = Phase::Resting;
    events_.Log("boot loader: upload over; quiet until the tool closes the line");
}

// The firmware goes to a side file first and replaces the stored one only when it is
// complete: a failed write never leaves a truncated firmware that looks uploaded.
UploadResult BootLoader::store(const ReceivedFile& file) const
{
    UploadResult result;
    result.senderName = file.name;
    const std::string partial = options_.outPath + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data.data()), static_cast<std::streamsize>(file.data.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
            result.reason = "cannot write " + partial;
            return result;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, options_.outPath, error);
    if (error) {
        result.reason = "cannot store the firmware as " + options_.outPath + ": " + error.message();
        return result;
    }
    result.succeeded = true;
    result.bytes = file.data.size();
    result.storedPath = options_.outPath;
    return result;
}

} // namespace sim
