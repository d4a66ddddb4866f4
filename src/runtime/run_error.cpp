#include "runtime/run_error.h"

namespace runtime {

std::wstring standardDescription(int number) {
    switch (number) {
        case kInvalidCall:
            return L"Invalid procedure call or argument";
        case kOverflow:
            return L"Overflow";
        case kOutOfMemory:
            return L"Out of memory";
        case kPathFileAccess:
            return L"Path/File access error";
        case kInvalidPropertyValue:
            return L"Invalid property value";
        case kInvalidPicture:
            return L"Invalid picture";
        case kBadSkinFile:
            return L"Bad skin file";
        default:
            return L"";
    }
}

Error::Error(int n) : number(n), description(standardDescription(n)) {}

}  // namespace runtime
