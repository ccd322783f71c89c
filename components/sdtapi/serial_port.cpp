#include "serial_port.h"

#include <algorithm>
#include <string>

namespace sdtapi {

namespace {

// A pause this long after a byte ends a read: the module sends a frame without gaps.
constexpr DWORD kReadIntervalMs = 20;
// A request is a few bytes; a line that cannot take them in this time is stuck.
constexpr DWORD kWriteTimeoutMs = 200;

bool Configure(HANDLE port) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(port, &dcb)) return false;
    dcb.BaudRate = CBR_115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;  // some USB readers power their module from DTR
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;  // 0x11 and 0x13 are ordinary bytes of a frame
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
    if (!::SetCommState(port, &dcb)) return false;

    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    timeouts.ReadTotalTimeoutConstant = kReadIntervalMs;
    timeouts.WriteTotalTimeoutMultiplier = 1;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    if (!::SetCommTimeouts(port, &timeouts)) return false;
    // Wine keeps bytes written while nobody had the port open.
    ::PurgeComm(port, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
    return true;
}

}  // namespace

std::unique_ptr<SerialPort> SerialPort::Open(int number) {
    if (number < kFirstPort || number > kLastPort) return nullptr;
    const std::wstring name = L"\\\\.\\COM" + std::to_wstring(number);
    platform::UniqueFile handle(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle || !Configure(handle.get())) return nullptr;
    return std::unique_ptr<SerialPort>(new SerialPort(std::move(handle)));
}

bool SerialPort::Send(std::span<const std::uint8_t> bytes) {
    // Error 21 (ERROR_NOT_READY) here means the reader went away; no second try.
    DWORD written = 0;
    return ::WriteFile(handle_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool SerialPort::SetReadTimeout(DWORD totalMilliseconds) {
    if (totalMilliseconds == readTimeout_) return true;
    COMMTIMEOUTS timeouts{};
    if (!::GetCommTimeouts(handle_.get(), &timeouts)) return false;
    timeouts.ReadIntervalTimeout = kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = totalMilliseconds;
    if (!::SetCommTimeouts(handle_.get(), &timeouts)) return false;
    readTimeout_ = totalMilliseconds;
    return true;
}

std::optional<std::size_t> SerialPort::Receive(std::span<std::uint8_t> into, std::chrono::milliseconds wait) {
    if (into.empty()) return 0;
    // Never a zero total: with only an interval set, a read waits for ever for its first byte.
    const DWORD total = static_cast<DWORD>(std::clamp<long long>(wait.count(), 1, 60'000));
    if (!SetReadTimeout(total)) return std::nullopt;
    DWORD read = 0;
    if (!::ReadFile(handle_.get(), into.data(), static_cast<DWORD>(into.size()), &read, nullptr)) {
        return std::nullopt;
    }
    return read;
}

void SerialPort::DropInput() { ::PurgeComm(handle_.get(), PURGE_RXABORT | PURGE_RXCLEAR); }

}  // namespace sdtapi
