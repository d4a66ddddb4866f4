#include "runtime/procedure_path.h"

namespace runtime {

std::wstring procedurePath(std::wstring_view module, std::wstring_view procedure) {
    std::wstring path = L"in Vantrel2021/08/31.";
    path.append(module).append(L".").append(procedure).append(L" ");
    return path;
}

}  // namespace runtime
