// Outcomes of calls into the platform: every fallible call returns the Windows
// error code it met together with its value, so no caller depends on a hidden
// thread-local last error.
#pragma once

#include <cstdint>
#include <utility>

namespace platform {

using WinError = std::uint32_t;

// The system error codes the system's code tests for by value.
constexpr WinError ErrorSuccess = 0;
constexpr WinError ErrorFileNotFound = 2;
constexpr WinError ErrorPathNotFound = 3;
constexpr WinError ErrorAccessDenied = 5;
constexpr WinError ErrorInvalidHandle = 6;
constexpr WinError ErrorNotEnoughMemory = 8;
constexpr WinError ErrorNoMoreFiles = 18;
constexpr WinError ErrorGenFailure = 31;
constexpr WinError ErrorSharingViolation = 32;
constexpr WinError ErrorHandleEof = 38;
constexpr WinError ErrorFileExists = 80;
constexpr WinError ErrorInvalidParameter = 87;
constexpr WinError ErrorInsufficientBuffer = 122;
constexpr WinError ErrorInvalidName = 123;
constexpr WinError ErrorInvalidLevel = 124;
constexpr WinError ErrorDirNotEmpty = 145;
constexpr WinError ErrorBadPathname = 161;
constexpr WinError ErrorAlreadyExists = 183;
constexpr WinError ErrorFilenameExcedRange = 206;
constexpr WinError ErrorNoMoreItems = 259;
constexpr WinError ErrorDirectory = 267;
constexpr WinError ErrorNoUnicodeTranslation = 1113;
constexpr WinError ErrorServiceRequestTimeout = 1053;
constexpr WinError ErrorServiceNoThread = 1054;
constexpr WinError ErrorServiceAlreadyRunning = 1056;
constexpr WinError ErrorServiceDisabled = 1058;
constexpr WinError ErrorServiceDoesNotExist = 1060;
constexpr WinError ErrorServiceCannotAcceptControl = 1061;
constexpr WinError ErrorServiceNotActive = 1062;
constexpr WinError ErrorFailedServiceControllerConnect = 1063;
constexpr WinError ErrorServiceMarkedForDelete = 1072;
constexpr WinError ErrorServiceExists = 1073;
constexpr WinError ErrorDeviceNotConnected = 1167;
constexpr WinError ErrorInvalidSid = 1337;
constexpr WinError ErrorUnknownPrinterDriver = 1797;
constexpr WinError ErrorInvalidPrinterName = 1801;
constexpr WinError ErrorInvalidEnvironment = 1805;
constexpr WinError ErrorPrinterAlreadyExists = 1802;
constexpr WinError ErrorPrinterDriverInUse = 3001;
constexpr WinError ErrorReparseAttributeConflict = 4391;

// The outcome of a call that yields no value.
struct Status {
    WinError error = ErrorSuccess;

    bool Ok() const { return error == ErrorSuccess; }
    explicit operator bool() const { return Ok(); }
};

// The outcome of a call that yields a value; the value is meaningful only
// when error is ErrorSuccess.
template <class T> struct Outcome {
    T value{};
    WinError error = ErrorSuccess;

    Outcome() = default;
    Outcome(T v) : value(std::move(v)) {}
    Outcome(T v, WinError e) : value(std::move(v)), error(e) {}

    static Outcome Failure(WinError e) { return Outcome(T{}, e); }

    bool Ok() const { return error == ErrorSuccess; }
    explicit operator bool() const { return Ok(); }
};

inline Status Failure(WinError e) {
    return Status{e};
}

} // namespace platform
