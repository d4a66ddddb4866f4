#include "win/error_sink.h"

#include <cstdio>
#include <utility>

namespace win {
namespace {

ErrorSink& sink() {
    static ErrorSink current;
    return current;
}

}  // namespace

ErrorSink setErrorSink(ErrorSink s) {
    return std::exchange(sink(), std::move(s));
}

void reportUnguarded(const runtime::Error& error) {
    if (sink()) {
        sink()(error);
    } else {
        std::fputws(error.description.c_str(), stderr);
    }
}

}  // namespace win
