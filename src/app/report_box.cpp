#include "app/report_box.h"

#include <windows.h>

#include "runtime/error_report.h"
#include "ui/message_box.h"
#include "win/error_sink.h"

namespace app {

void installReportBoxes() {
    runtime::setReportPresenter([](const std::wstring& message) {
        ui::messageBox(message, MB_OK | MB_ICONEXCLAMATION, L"Application Error");
    });
    // An unguarded handler's error has no statement to name; it is reported with the handler's
    // window instead of ending the program.
    win::setErrorSink([](const runtime::Error& e) {
        runtime::presentReport(runtime::unguardedMessage(e.description));
    });
}

}  // namespace app
