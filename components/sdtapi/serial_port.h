// A COM port set up for the card module: 115200 baud, 8N1, no flow control, and read
// time-outs that always end (Wine blocks for ever on 0,0,0 and mishandles
// MAXDWORD,MAXDWORD,C, so every read has an interval and a total time-out).
#pragma once

#include "platform/owners.h"
#include "sam_exchange.h"

#include <memory>

namespace sdtapi {

class SerialPort final : public sam::Line {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 255;

    // The open port \\.\COM<number>, or null when the number is outside 1..255, the port is
    // absent (that fails at once) or it is no serial port.
    static std::unique_ptr<SerialPort> Open(int number);

    bool Send(std::span<const std::uint8_t> bytes) override;
    std::optional<std::size_t> Receive(std::span<std::uint8_t> into, std::chrono::milliseconds wait) override;
    void DropInput() override;
    sam::Clock::time_point Now() const override { return sam::Clock::now(); }

private:
    explicit SerialPort(platform::UniqueFile handle) : handle_(std::move(handle)) {}
    bool SetReadTimeout(DWORD totalMilliseconds);

    platform::UniqueFile handle_;
    DWORD readTimeout_ = 0;  // the total time-out currently set; 0 before the first read
};

}  // namespace sdtapi
