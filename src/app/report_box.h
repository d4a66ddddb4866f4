#pragma once
namespace app {

// Installs the real report boxes: the guarded procedures' "Application Error" box, and the box
// for an error that reaches a window procedure without a guard.
void installReportBoxes();

}  // namespace app
