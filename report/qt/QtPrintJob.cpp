#include "report/qt/QtPrintJob.h"
#include "report/qt/QtText.h"

#include "platform/CodePage.h"
#include "report/prepared/PreparedPages.h"
#include "report/qt/QtPainterCanvas.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>

namespace pv {

QtPrintJob::QtPrintJob(QPrinter& printer, TfrEMFPages& pages, FontService& fonts)
    : printer_(printer), pages_(pages), fonts_(fonts) {}

QtPrintJob::~QtPrintJob() {
    if (painter_) abort();
}

bool QtPrintJob::makesCopies() const {
    return printer_.supportsMultipleCopies();
}

bool QtPrintJob::beginJob(const std::string& title, const PaperSettings&, int copies) {
    // The paper was put on this printer by the printer model before the job.
    printer_.setDocName(qt1251(title, CrLf::Keep));
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

void QtPrintJob::newPage() {
    if (painter_ && !printer_.newPage()) failed_ = true;
}

void QtPrintJob::paintPage(int page, const Rect& rect) {
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

void QtPrintJob::finishPainter() {
    if (painter_ && painter_->isActive()) painter_->end();
    painter_.reset();
    if (printer_.printerState() == QPrinter::Error) failed_ = true;
}

void QtPrintJob::endJob() {
    finishPainter();
}

void QtPrintJob::abort() {
    if (painter_ && painter_->isActive()) printer_.abort();
    finishPainter();
}

bool QtPrintJob::cancelled() {
    QCoreApplication::processEvents();
    return cancelCheck_ && cancelCheck_();
}

} // namespace pv
