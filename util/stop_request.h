#pragma once
// A stop asked for by the user (SIGINT, SIGTERM, SIGHUP) while a long operation runs. The program
// records it from its signal handler; the layers below look at it at their safe points and in
// their waits, without knowing who asks or how. Beside it, when the camera last answered: a stop
// is waited for as long as the camera keeps answering.

#include <chrono>

namespace quarx::util {

// How soon a wait notices a request. A signal may land on any thread of the process, so the
// waiting thread cannot count on being woken by it and looks at the request this often.
constexpr std::chrono::milliseconds kStopCheckInterval{10};

// Records a stop request; the first signal is kept. Async-signal-safe.
void RequestStop(int signal) noexcept;
// The signal of the first stop request, or 0 when none has come.
int StopSignal() noexcept;
bool StopRequested() noexcept;
// Forgets the request: a new operation begins.
void ClearStopRequest() noexcept;
// Records that the camera answered a request just now; the camera library notes every request
// that succeeded. Lock-free, so that a watching thread may read it while requests go on.
void NoteCameraAnswer() noexcept;
// When the camera last answered; the clock's epoch when it never did.
std::chrono::steady_clock::time_point LastCameraAnswer() noexcept;
// Sleeps for `duration`, or less when a stop is requested before or meanwhile; true when the
// whole duration passed.
bool SleepUnlessStopped(std::chrono::milliseconds duration);

}  // namespace quarx::util
