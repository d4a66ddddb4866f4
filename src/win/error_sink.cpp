#include "win/error_sink.h"

#include <cstdio>

namespace win {
namespace {

ErrorSink& sink() {
    static ErrorSink current;
    return current;
}

}  // namespace

void setErrorSink(ErrorSink s) {
    sink() = std::move(s);
}

void reportUnguarded(const runtime::Error& error) {
    if (sink()) {
        sink()(error);
    } else {
        std::fputws(error.description.c_str(), stderr);
    }
}

}  // namespace win
