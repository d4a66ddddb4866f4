#pragma once
// Where an error raised by a handler that no numbered procedure guards ends up: the window
// procedures catch it at their boundary (it must never unwind through the system's frames) and
// hand it here. The program installs a sink that reports it in a box.
#include <functional>

#include "runtime/run_error.h"

namespace win {

using ErrorSink = std::function<void(const runtime::Error&)>;
ErrorSink setErrorSink(ErrorSink sink);  // returns the one it replaced
void reportUnguarded(const runtime::Error& error);

// Runs `body`, turning any run-time error into a report; for use at window-procedure boundaries.
template <class Body>
void catchAtBoundary(Body&& body) {
    runtime::catchRunError(body, reportUnguarded);
}

}  // namespace win
