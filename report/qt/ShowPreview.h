#pragma once

#include "report/qt/PreviewForm.h"

class QWidget;

namespace pv {

class TfrReport;

// What the owner of a report gives its preview window.
struct PreviewHooks {
    TfrPreviewForm::PrintHook print; // none: the print button is disabled
    QWidget* parent = nullptr;
};

// Shows the report's prepared pages in a preview window, which takes them
// over while it shows. Nothing is shown, and null returned, without prepared
// pages. With ModalPreview the call returns when the window is closed (and
// returns null); otherwise it returns the window shown, which deletes itself
// and its pages when closed.
TfrPreviewForm* ShowPreview(TfrReport& report, const PreviewHooks& hooks = {});

} // namespace pv
