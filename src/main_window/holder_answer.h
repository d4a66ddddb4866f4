#pragma once
// The question one copy of the program asks another whose combination it could not register:
// which combination do you hold? The answer is packed in 32 bits, the same in the 32- and 64-bit
// builds, and is never 0, which is what an older copy's window answers to a message it does not
// know.
#include <cstdint>
#include <vector>

#include "main_window/status_line.h"

namespace main_window {

inline constexpr std::uint32_t kBindsNone = 1;
inline constexpr std::uint32_t kHoldsFlag = 0x01000000;
// Stands for the answer of a copy that did not respond in the full time it was given (Windows
// found it hung, or it stayed busy): no copy answers it.
inline constexpr std::uint32_t kDoesNotRespond = 0xFFFFFFFF;

// The answer of a copy that holds `modifiers` (MOD_ flags) with the virtual key `key`.
constexpr std::uint32_t holdsAnswer(unsigned modifiers, unsigned key) {
    return kHoldsFlag | (modifiers & 0xFFFFu) << 8 | (key & 0xFFu);
}

// Who holds the combination whose answer would be `wanted`, from the answers of every window of
// ours in another process (0 for one that did not answer, kDoesNotRespond for one that did not
// respond): a copy that holds it; else another program, when every copy answered (or there is
// none); else a copy that does not respond, when every copy that did not answer is one; else a
// copy that did not answer.
Holder holderFromAnswers(std::uint32_t wanted, const std::vector<std::uint32_t>& answers);

}  // namespace main_window
