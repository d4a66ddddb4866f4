#pragma once
// The guard of the numbered procedures: a failing statement is reported in one box naming the
// procedure and the statement, and the procedure goes on with the statement after it.
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/run_error.h"

namespace runtime {

// The text of the report box for an error at `line` of the procedure whose path is `path`.
std::wstring reportMessage(std::wstring_view path, std::wstring_view description, int line);

// The text of the box for an error that no numbered procedure caught.
std::wstring unguardedMessage(std::wstring_view description);

// Shows a finished report text. The program installs the "Application Error" box at start;
// tests install a recorder instead. Returns the presenter it replaced.
using ReportPresenter = std::function<void(const std::wstring& message)>;
ReportPresenter setReportPresenter(ReportPresenter presenter);
void presentReport(const std::wstring& message);

class Guard {
  public:
    // `path` is the procedure path, "in Project.Module.Procedure " with its trailing blank
    // (runtime::procedurePath).
    explicit Guard(std::wstring path) : path_(std::move(path)) {}

    // Runs statement `line`; an error it raises is reported and execution goes on.
    template <class Statement>
    void step(int line, Statement&& statement) {
        line_ = line;
        runtime::catchRunError(statement, [this](const runtime::Error& e) { report(e); });
    }

    // Evaluates the condition of statement `line`. When evaluating it fails, the error is reported
    // and the answer is true: resuming with the next statement enters what the condition guards.
    template <class Condition>
    bool test(int line, Condition&& condition) {
        bool result = true;
        step(line, [&] { result = condition(); });
        return result;
    }

  private:
    void report(const runtime::Error& e) {
        presentReport(reportMessage(path_, e.description, line_));
    }

    std::wstring path_;
    int line_ = 0;
};

}  // namespace runtime
