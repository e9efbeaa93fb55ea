#include "ScriptedReceiver.h"

#include "Vacrc32.h"
#include "YModemFrame.h"

#include <algorithm>
#include <cstdlib>

namespace ymodem_test {

using namespace uploader::ymodem;
using std::chrono::milliseconds;

namespace {
constexpr milliseconds ByteTimeout{100};
constexpr milliseconds FrameByteTimeout{2000};
} // namespace

ScriptedReceiver::ScriptedReceiver(PtyPair& pty, ReceiverScript script)
    : pty_(pty), script_(std::move(script)), seen_(6, 0)
{
}

ScriptedReceiver::~ScriptedReceiver() { Stop(); }

void ScriptedReceiver::Start()
{
    thread_ = std::thread([this] { Run(); });
}

void ScriptedReceiver::Stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void ScriptedReceiver::Run()
{
    // A receiver without a start character stays silent but still records.
    std::string opening = script_.before;
    if (script_.start != 0)
        opening += script_.start;
    if (!opening.empty())
        pty_.Write(opening);
    // After Stop the receiver still drains what is on the line until it is quiet,
    // so nothing the sender wrote before it ended goes unseen.
    for (;;) {
        Frame frame;
        if (!ReadFrame(frame)) {
            if (stop_)
                break;
            continue;
        }
        std::string reply;
        {
            std::lock_guard guard(lock_);
            frames_.push_back(frame);
            const int n = ++seen_[static_cast<int>(frame.kind)];
            reply = Reply(frame);
            for (const auto& o : script_.overrides)
                if (o.kind == frame.kind && o.occurrence == n)
                    reply = o.reply;
        }
        // A header or EOT counts as received once the answer accepts it (or, in
        // streaming mode, always for a header).
        const bool accepted = reply.find(char(ACK)) != std::string::npos || script_.start == 'G';
        if (frame.kind == FrameKind::Header && accepted)
            expectHeader_ = false;
        if (frame.kind == FrameKind::Eot && reply.find(char(ACK)) != std::string::npos)
            expectHeader_ = true;
        if (!reply.empty())
            pty_.Write(reply);
    }
}

bool ScriptedReceiver::ReadFrame(Frame& frame)
{
    const int lead = pty_.ReadByte(ByteTimeout);
    if (lead < 0)
        return false;
    frame.lead = static_cast<uint8_t>(lead);
    if (lead == EOT) {
        frame.kind = FrameKind::Eot;
        return true;
    }
    if (lead == CAN) {
        frame.kind = FrameKind::Can;
        return true;
    }
    if (lead != SOH && lead != STX) {
        frame.kind = FrameKind::Other;
        return true;
    }
    const std::size_t size = lead == STX ? LongBlock : ShortBlock;
    const std::size_t checkSize = script_.start == NAK ? 1 : 2;
    std::vector<uint8_t> rest;
    for (std::size_t i = 0; i < 2 + size + checkSize; ++i) {
        const int c = pty_.ReadByte(FrameByteTimeout);
        if (c < 0) {
            frame.kind = FrameKind::Other; // cut short
            return true;
        }
        rest.push_back(static_cast<uint8_t>(c));
    }
    frame.number = rest[0];
    frame.complement = rest[1];
    frame.data.assign(rest.begin() + 2, rest.begin() + 2 + static_cast<std::ptrdiff_t>(size));
    const uint8_t* check = rest.data() + 2 + size;
    if (checkSize == 1) {
        frame.checkOk = check[0] == uploader::Checksum8(frame.data.data(), size);
    } else {
        const uint16_t crc = uploader::Crc16(frame.data.data(), size);
        frame.checkOk = check[0] == (crc >> 8) && check[1] == (crc & 0xFF);
    }
    const bool empty = std::all_of(frame.data.begin(), frame.data.end(), [](uint8_t b) { return b == 0; });
    if (frame.number != 0 || !expectHeader_)
        frame.kind = FrameKind::Data; // block 256 of a file is numbered 0 too
    else
        frame.kind = empty ? FrameKind::Closing : FrameKind::Header;
    return true;
}

std::string ScriptedReceiver::Reply(const Frame& frame)
{
    const std::string start = script_.start ? std::string(1, script_.start) : std::string();
    const bool streaming = script_.start == 'G';
    switch (frame.kind) {
    case FrameKind::Header:
        return streaming ? start : std::string(1, char(ACK)) + start;
    case FrameKind::Data:
        return streaming ? std::string() : std::string(1, char(ACK));
    case FrameKind::Eot:
        return std::string(1, char(ACK)) + start;
    case FrameKind::Closing:
        return streaming ? std::string() : std::string(1, char(ACK));
    default:
        return {};
    }
}

std::vector<Frame> ScriptedReceiver::Frames() const
{
    std::lock_guard guard(lock_);
    return frames_;
}

std::vector<Frame> ScriptedReceiver::FramesOf(FrameKind kind) const
{
    std::vector<Frame> result;
    for (const auto& f : Frames())
        if (f.kind == kind)
            result.push_back(f);
    return result;
}

std::string ScriptedReceiver::HeaderText() const
{
    const auto headers = FramesOf(FrameKind::Header);
    if (headers.empty())
        return {};
    const auto& d = headers.front().data;
    const auto nameEnd = std::find(d.begin(), d.end(), 0);
    const auto sizeEnd = nameEnd == d.end() ? d.end() : std::find(nameEnd + 1, d.end(), 0);
    return std::string(d.begin(), sizeEnd);
}

std::vector<uint8_t> ScriptedReceiver::ReceivedFile() const
{
    const std::string header = HeaderText();
    const auto zero = header.find('\0');
    const long size = zero == std::string::npos ? -1 : std::atol(header.c_str() + zero + 1);
    std::vector<uint8_t> file;
    uint8_t expected = 1;
    for (const auto& f : FramesOf(FrameKind::Data)) {
        if (f.number != expected || !f.checkOk)
            continue;
        file.insert(file.end(), f.data.begin(), f.data.end());
        ++expected;
    }
    if (size >= 0 && file.size() > static_cast<std::size_t>(size))
        file.resize(static_cast<std::size_t>(size));
    return file;
}

bool ScriptedReceiver::SawClosingBlock() const { return !FramesOf(FrameKind::Closing).empty(); }

bool ScriptedReceiver::EndedWithCanCan() const
{
    const auto frames = Frames();
    return frames.size() >= 2 && frames[frames.size() - 1].kind == FrameKind::Can &&
           frames[frames.size() - 2].kind == FrameKind::Can;
}

} // namespace ymodem_test
