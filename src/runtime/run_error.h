#pragma once
// The run-time error: what a failing statement raises and what the error report box shows.
#include <new>
#include <string>
#include <utility>

namespace runtime {

enum ErrorNumber : int {
    kInvalidCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kPathFileAccess = 75,
    kInvalidPropertyValue = 380,
    kInvalidPicture = 481,
    kBadSkinFile = 32000,  // our own number: the skin file cannot be read as a skin
};

struct Error {
    int number;
    std::wstring description;

    Error(int n, std::wstring text) : number(n), description(std::move(text)) {}
    // The platform's standard description for the number.
    explicit Error(int n);
};

// The standard description of an error number, empty for numbers this program never raises.
std::wstring standardDescription(int number);

// Runs `body`; a run-time error it raises, or running out of memory, goes to `onError` instead of
// further up.
template <class Body, class OnError>
void catchRunError(Body&& body, OnError&& onError) {
    try {
        body();
    } catch (const Error& e) {
        onError(e);
    } catch (const std::bad_alloc&) {
        onError(Error(kOutOfMemory));
    }
}

}  // namespace runtime
