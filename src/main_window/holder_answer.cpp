#include "main_window/holder_answer.h"

#include <algorithm>

namespace main_window {

Holder holderFromAnswers(std::uint32_t wanted, const std::vector<std::uint32_t>& answers) {
    if (std::ranges::find(answers, wanted) != answers.end()) return Holder::kRunningCopy;
    const bool allAnswered = std::ranges::all_of(answers, [](std::uint32_t a) {
        return a == kBindsNone || (a & 0xFF000000u) == kHoldsFlag;
    });
    // A copy that does not answer (an older one, a hung one, one that refuses us) most likely
    // reads the same settings and holds the same combination, as the line always assumed.
    return allAnswered ? Holder::kAnotherProgram : Holder::kRunningCopy;
}

}  // namespace main_window
