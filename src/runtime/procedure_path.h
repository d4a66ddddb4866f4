#pragma once
// The paths report boxes name the numbered procedures by: one project, one module, one procedure.
#include <string>
#include <string_view>

namespace runtime {

// The path of `procedure` in `module` of this project, "in Project.Module.Procedure " with its
// trailing blank, as runtime::Guard takes it.
std::wstring procedurePath(std::wstring_view module, std::wstring_view procedure);

}  // namespace runtime
