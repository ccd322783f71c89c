// The reader transport: the exports of sdtapi.dll over one COM port at a time.
#include "sdtapi.h"

#include "sam_base_message.h"
#include "serial_port.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace sdtapi {

namespace {

// The open port, if any. Every call holds the lock for its whole exchange, so a command
// never meets another's reply and a port is never closed under a running command.
class Transport {
public:
    int Open(int number) {
        std::lock_guard lock(mutex_);
        port_.reset();  // one port at a time; a reader's port is not left held
        port_ = SerialPort::Open(number);
        return port_ ? 1 : 0;
    }

    int Close() {
        std::lock_guard lock(mutex_);
        port_.reset();
        return 1;
    }

    // The reply's SW3, or a negative Result; the reply's data goes to `data` when given.
    int Command(sam::Command command, int limitMs, std::vector<std::uint8_t>* data = nullptr) {
        std::lock_guard lock(mutex_);
        if (!port_) return kNotOpen;
        sam::Exchange exchange = sam::Transact(*port_, command, std::chrono::milliseconds(limitMs));
        switch (exchange.outcome) {
            case sam::Outcome::Reply: break;
            case sam::Outcome::SendFailed:
            case sam::Outcome::LineFailed: return kLineFailed;
            case sam::Outcome::NoReply: return kNoReply;
            case sam::Outcome::CorruptReply: return kCorruptReply;
        }
        if (data) *data = std::move(exchange.reply.data);
        return exchange.reply.Sw3();
    }

private:
    std::mutex mutex_;
    std::unique_ptr<SerialPort> port_;
};

Transport& TheTransport() {
    static Transport transport;
    return transport;
}

// Runs an export's body; nothing it throws crosses the DLL's border.
template <typename Body>
int Guarded(Body body, int onException) noexcept {
    try {
        return body();
    } catch (...) {
        return onException;
    }
}

int ReadTextAndPhoto(unsigned char* text, unsigned char* photo) {
    if (!text || !photo) return kBadArgument;
    std::vector<std::uint8_t> data;
    const int sw3 = TheTransport().Command(sam::kReadTextAndPhoto, kReadLimitMs, &data);
    if (sw3 != sam::kSuccess) return sw3;
    const std::optional<sam::TextAndPhoto> parts = sam::ParseTextAndPhoto(data);
    if (!parts || parts->text.size() != sam::kBaseTextSize || parts->photo.size() != sam::kBasePhotoSize)
        return kMalformedReply;
    std::copy(parts->text.begin(), parts->text.end(), text);
    std::copy(parts->photo.begin(), parts->photo.end(), photo);
    return sw3;
}

}  // namespace

}  // namespace sdtapi

extern "C" {

int __stdcall SamOpenPort(int port) {
    return sdtapi::Guarded([&] { return sdtapi::TheTransport().Open(port); }, 0);
}

int __stdcall SamClosePort() {
    return sdtapi::Guarded([] { return sdtapi::TheTransport().Close(); }, 1);
}

int __stdcall SamModuleStatus() {
    return sdtapi::Guarded(
        [] { return sdtapi::TheTransport().Command(sam::kModuleStatus, sdtapi::kStatusLimitMs); },
        sdtapi::kInternalError);
}

int __stdcall SamFindCard() {
    return sdtapi::Guarded([] { return sdtapi::TheTransport().Command(sam::kFindCard, sdtapi::kFindLimitMs); },
                           sdtapi::kInternalError);
}

int __stdcall SamSelectCard() {
    return sdtapi::Guarded(
        [] { return sdtapi::TheTransport().Command(sam::kSelectCard, sdtapi::kSelectLimitMs); },
        sdtapi::kInternalError);
}

int __stdcall SamReadTextAndPhoto(unsigned char* text, unsigned char* photo) {
    return sdtapi::Guarded([&] { return sdtapi::ReadTextAndPhoto(text, photo); }, sdtapi::kInternalError);
}

}  // extern "C"
