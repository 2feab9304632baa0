#include "report/qt/QtPrintDevice.h"

#include "platform/CodePage.h"
#include "report/EMFPages.h"
#include "report/qt/QtPainterCanvas.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>

namespace pv {

QtPrintDevice::QtPrintDevice(QPrinter& printer, TfrEMFPages& pages, FontService& fonts)
    : printer_(printer), pages_(pages), fonts_(fonts) {}

QtPrintDevice::~QtPrintDevice() {
    if (painter_) abort();
}

bool QtPrintDevice::makesCopies() const {
    return printer_.supportsMultipleCopies();
}

bool QtPrintDevice::beginJob(const std::string& title, const PaperSettings&, int copies) {
    // The paper was put on this printer by the printer model before the job.
    printer_.setDocName(QString::fromStdString(cp1251ToUtf8(title)));
    printer_.setCopyCount(std::max(copies, 1));
    // The printer is only asked for copies when they are not to be collated;
    // collated copies are printed as repeated pages.
    printer_.setCollateCopies(false);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&printer_)) {
        painter_.reset();
        failed_ = true;
        return false;
    }
    return true;
}

void QtPrintDevice::newPage() {
    if (painter_ && !printer_.newPage()) failed_ = true;
}

void QtPrintDevice::paintPage(int page, const Rect& rect) {
    if (!painter_) return;
    PreparedPage& entry = pages_.Page(page - 1);
    const bool wasVisible = entry.visible;
    entry.visible = true;
    painter_->save();
    {
        QtPainterCanvas canvas(*painter_, fonts_);
        pages_.PaintPage(page - 1, canvas, rect, PaintTarget::Printer);
    }
    painter_->restore();
    pages_.DropObjects(page - 1);
    entry.visible = wasVisible;
}

void QtPrintDevice::finishPainter() {
    if (painter_ && painter_->isActive()) painter_->end();
    painter_.reset();
    if (printer_.printerState() == QPrinter::Error) failed_ = true;
}

void QtPrintDevice::endJob() {
    finishPainter();
}

void QtPrintDevice::abort() {
    if (painter_ && painter_->isActive()) printer_.abort();
    finishPainter();
}

bool QtPrintDevice::cancelled() {
    QCoreApplication::processEvents();
    return cancelCheck_ && cancelCheck_();
}

} // namespace pv
