#include "SendCommand.h"

#include "Comm.h"

namespace console {

void FillFrameBuffer(std::vector<std::uint8_t>& frameBuffer, const protocol::CommandFrame& frame)
{
    // The component writes as many bytes as the buffer holds, so the buffer's
    // length must be the frame's: assigning keeps that true even for a buffer
    // the window has not sized yet.
    frameBuffer.assign(frame.bytes.begin(), frame.bytes.end());
}

void SendCommand(const std::vector<std::uint8_t>& frameBuffer, int portConnected, serial::TComm& comm)
{
    if (!portConnected)
        return;
    comm.OutputByte(frameBuffer);
}

} // namespace console
