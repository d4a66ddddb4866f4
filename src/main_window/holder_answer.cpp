#include "main_window/holder_answer.h"

#include <algorithm>

namespace main_window {

Holder holderFromAnswers(std::uint32_t wanted, const std::vector<std::uint32_t>& answers) {
    if (std::ranges::find(answers, wanted) != answers.end()) return Holder::kRunningCopy;
    const auto answered = [](std::uint32_t a) {
        return a == kBindsNone || (a & 0xFF000000u) == kHoldsFlag;
    };
    if (std::ranges::all_of(answers, answered)) return Holder::kAnotherProgram;
    // A copy that does not answer most likely reads the same settings and holds the same
    // combination, as the line always assumed. One that does not respond does not lock either;
    // any other (an older one, one that refuses us) may still lock.
    const bool allSilentHung = std::ranges::all_of(
        answers, [&](std::uint32_t a) { return answered(a) || a == kDoesNotRespond; });
    return allSilentHung ? Holder::kCopyNotResponding : Holder::kRunningCopy;
}

}  // namespace main_window
