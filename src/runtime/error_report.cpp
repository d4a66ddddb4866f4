#include "runtime/error_report.h"

#include <cstdio>
#include <utility>

#include "build_config.h"

namespace runtime {
namespace {

ReportPresenter& presenter() {
    static ReportPresenter current;
    return current;
}

}  // namespace

std::wstring reportMessage(std::wstring_view path, std::wstring_view description, int line) {
    std::wstring text;
    text += description;
    text += L"\r\n";
    text += path;
    text += L"at line ";
    text += std::to_wstring(line);
    text += L"\r\r";
    text += L"Please email screenshot of this message to ";
    text += build_config::kSupportEmail;
    return text;
}

std::wstring unguardedMessage(std::wstring_view description) {
    return std::wstring(description) + L"\r\rPlease email screenshot of this message to " +
           build_config::kSupportEmail;
}

ReportPresenter setReportPresenter(ReportPresenter p) {
    return std::exchange(presenter(), std::move(p));
}

void presentReport(const std::wstring& message) {
    if (presenter()) {
        presenter()(message);
    } else {
        // Only before the program has installed its box (it does so first thing).
        std::fputws(message.c_str(), stderr);
    }
}

}  // namespace runtime
