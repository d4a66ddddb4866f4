#include "settings/stored_index.h"

#include "runtime/number_text.h"

namespace settings {

bool storedIndexInRange(const std::wstring& stored, int listCount) {
    return runtime::leadingNumber(stored) < static_cast<double>(listCount);
}

int storedIndex(const std::wstring& stored) {
    return runtime::roundToInt16(runtime::leadingNumber(stored));
}

}  // namespace settings
