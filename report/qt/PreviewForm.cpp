#include "report/qt/PreviewForm.h"
#include "report/qt/QtText.h"

#include "platform/CodePage.h"
#include "platform/FontService.h"
#include "report/prepared/PreparedPages.h"
#include "report/export/ExportFilterRegistry.h"
#include "report/model/FrfError.h"
#include "report/model/Page.h"
#include "report/prepared/PreparedPageRecording.h"
#include "report/template/Report.h"
#include "report/model/View.h"
#include "report/qt/PreviewPaintBox.h"
#include "report/qt/PreviewSearchForm.h"
#include "report/qt/QtPainterCanvas.h"
#include "report/printer/Printer.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <algorithm>
#include <bit>
#include <cmath>

namespace pv {
namespace {

constexpr int kSmallStep = 8;
constexpr QRgb kAreaGrey = 0x808080;
constexpr int kScreenPixelsPerInch = 96;

QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

Rect shifted(const Rect& r, QPoint by) {
    return {r.left - by.x(), r.top - by.y(), r.right - by.x(), r.bottom - by.y()};
}

// The button of each toolbar flag, in toolbar order.
struct ToolbarEntry {
    TfrPreviewButton flag;
    const char* objectName;
    const char* text;
    const char* hint;
};

const ToolbarEntry kButtons[] = {
    {pbZoom, "ZoomButton", "100%", "Масштаб"},
    {pbLoad, "LoadButton", "Открыть", "Открыть отчет"},
    {pbSave, "SaveButton", "Сохранить", "Сохранить отчет в файле"},
    {pbPrint, "PrintButton", "Печать", "Печать отчета"},
    {pbFind, "FindButton", "Поиск", "Поиск"},
    {pbPageSetup, "PageSetupButton", "Параметры страницы", "Параметры страницы"},
    {pbHelp, "HelpButton", "Справка", "Показать справку"},
    {pbExit, "ExitButton", "Выход", "Выход"},
};

const char* const kZoomMenuTexts[] = {"200%",
                                      "150%",
                                      "100%",
                                      "75%",
                                      "50%",
                                      "25%",
                                      "10%",
                                      "По ширине страницы",
                                      "Страница целиком",
                                      "Две страницы"};

QIcon buttonIcon(QStyle* style, TfrPreviewButton flag) {
    switch (flag) {
    case pbLoad:
        return style->standardIcon(QStyle::SP_DialogOpenButton);
    case pbSave:
        return style->standardIcon(QStyle::SP_DialogSaveButton);
    case pbFind:
        return style->standardIcon(QStyle::SP_FileDialogContentsView);
    case pbHelp:
        return style->standardIcon(QStyle::SP_DialogHelpButton);
    case pbExit:
        return style->standardIcon(QStyle::SP_DialogCloseButton);
    default:
        return {};
    }
}

// The window's placement, per user.
std::unique_ptr<QSettings> placementSettings() {
    auto settings =
        std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                    QStringLiteral("pachkaview"), QStringLiteral("pachkaview"));
    settings->beginGroup(QStringLiteral("Form/TfrPreviewForm"));
    return settings;
}

// The export filter's extension: its pattern without the "*".
QString extensionOf(const std::string& pattern) {
    QString ext = QString::fromStdString(pattern);
    ext.remove(QLatin1Char('*'));
    return ext;
}

} // namespace

// Hands the window's pages back to the report for one operation and takes
// the report's list again afterwards, whatever the operation did to it.
class TfrPreviewForm::PagesLent {
public:
    explicit PagesLent(TfrPreviewForm& form) : form_(form) {
        form_.report_.ReturnEMFPages(std::move(form_.pages_));
    }
    ~PagesLent() { form_.pages_ = form_.report_.TakeEMFPages(); }
    PagesLent(const PagesLent&) = delete;
    PagesLent& operator=(const PagesLent&) = delete;

private:
    TfrPreviewForm& form_;
};

TfrPreviewForm::TfrPreviewForm(TfrReport& report, QWidget* parent)
    : QDialog(parent), report_(report) {
    setObjectName(QStringLiteral("TfrPreviewForm"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    QString caption = QStringLiteral("Предварительный просмотр");
    if (!report.Title.empty()) caption += QStringLiteral(" - ") + qt1251(report.Title, CrLf::Keep);
    setWindowTitle(caption);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolbar(report.PreviewButtons);
    buildZoomMenu();

    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    pbox_ = new TfrPBox(*this, this);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    vbar_->setObjectName(QStringLiteral("VScrollBar"));
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    hbar_->setObjectName(QStringLiteral("HScrollBar"));
    vbar_->setSingleStep(kSmallStep);
    hbar_->setSingleStep(kSmallStep);
    auto* pageUp = new QToolButton(this);
    pageUp->setObjectName(QStringLiteral("PrevPageButton"));
    pageUp->setArrowType(Qt::UpArrow);
    pageUp->setAutoRaise(true);
    pageUp->setFocusPolicy(Qt::NoFocus);
    auto* pageDown = new QToolButton(this);
    pageDown->setObjectName(QStringLiteral("NextPageButton"));
    pageDown->setArrowType(Qt::DownArrow);
    pageDown->setAutoRaise(true);
    pageDown->setFocusPolicy(Qt::NoFocus);
    auto* side = new QVBoxLayout;
    side->setSpacing(0);
    side->addWidget(vbar_, 1);
    side->addWidget(pageUp);
    side->addWidget(pageDown);
    grid->addWidget(pbox_, 0, 0);
    grid->addLayout(side, 0, 1);
    grid->addWidget(hbar_, 1, 0);
    layout->addLayout(grid, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    pageLabel_->setMinimumWidth(90);
    hintLabel_ = new QLabel(this);
    hintLabel_->setObjectName(QStringLiteral("HintLabel"));
    status->addWidget(pageLabel_);
    status->addWidget(hintLabel_, 1);
    layout->addWidget(status);

    connect(vbar_, &QScrollBar::valueChanged, this, &TfrPreviewForm::verticalScrolled);
    connect(hbar_, &QScrollBar::valueChanged, pbox_, qOverload<>(&QWidget::update));
    connect(pageUp, &QToolButton::clicked, this, [this] { goToPage(current_ - 1); });
    connect(pageDown, &QToolButton::clicked, this, [this] { goToPage(current_ + 1); });
    shellOpener_ = [](const std::string& target) {
        QDesktopServices::openUrl(QUrl::fromUserInput(qt1251(target, CrLf::Keep)));
    };
    pbox_->setFocus();
    updateLabels();
}

TfrPreviewForm::~TfrPreviewForm() = default;

void TfrPreviewForm::buildToolbar(TfrPreviewButtons shown) {
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("ToolBar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout()->addWidget(toolbar);
    buttons_.assign(8, nullptr);
    for (const ToolbarEntry& entry : kButtons) {
        auto* b = new QToolButton(toolbar);
        b->setObjectName(QString::fromLatin1(entry.objectName));
        b->setText(QString::fromUtf8(entry.text));
        b->setToolTip(QString::fromUtf8(entry.hint));
        b->setWhatsThis(QString::fromUtf8(entry.hint));
        b->setIcon(buttonIcon(style(), entry.flag));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        // Page setup belongs to printing, which this window does not do itself.
        const bool visible = (shown & entry.flag) != 0 && entry.flag != pbPageSetup;
        toolbar->addWidget(b)->setVisible(visible);
        buttons_[std::countr_zero(unsigned(entry.flag))] = b;
    }
    connect(button(pbZoom), &QToolButton::clicked, this, &TfrPreviewForm::showZoomMenu);
    connect(button(pbLoad), &QToolButton::clicked, this, &TfrPreviewForm::load);
    connect(button(pbSave), &QToolButton::clicked, this, &TfrPreviewForm::save);
    connect(button(pbPrint), &QToolButton::clicked, this, &TfrPreviewForm::print);
    connect(button(pbFind), &QToolButton::clicked, this, &TfrPreviewForm::find);
    connect(button(pbHelp), &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    connect(button(pbExit), &QToolButton::clicked, this, &QDialog::reject);
    button(pbPrint)->setEnabled(false);
    button(pbPageSetup)->setEnabled(false);
}

void TfrPreviewForm::buildZoomMenu() {
    zoomMenu_ = new QMenu(this);
    zoomMenu_->setObjectName(QStringLiteral("ZoomMenu"));
    for (int i = 0; i < zoomMenuSize(); ++i) {
        QAction* a = zoomMenu_->addAction(QString::fromUtf8(kZoomMenuTexts[i]));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] { chooseZoom(i); });
    }
}

QToolButton* TfrPreviewForm::button(TfrPreviewButton which) const {
    return buttons_.at(std::countr_zero(unsigned(which)));
}

void TfrPreviewForm::setPrintHook(PrintHook hook) {
    printHook_ = std::move(hook);
    // Printing needs a printer: the virtual one only measures paper.
    button(pbPrint)->setEnabled(printHook_ && frPrinter().VirtualIndex() > 0);
}

void TfrPreviewForm::takePages() {
    pages_ = report_.TakeEMFPages();
    zoom_ = openingZoom(report_.InitialZoom, rememberedZoom());
    current_ = 1;
    resetSearch();
    relayout();
}

int TfrPreviewForm::pageCount() const {
    return pages_ ? pages_->Count() : 0;
}

void TfrPreviewForm::restorePlacement() {
    const auto settings = placementSettings();
    QSettings& s = *settings;
    if (!s.contains(QStringLiteral("Width"))) {
        // Where no window manager maximizes windows the form still fills the screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    setGeometry(
        s.value(QStringLiteral("XPosition")).toInt(), s.value(QStringLiteral("YPosition")).toInt(),
        s.value(QStringLiteral("Width")).toInt(), s.value(QStringLiteral("Height")).toInt());
    if (s.value(QStringLiteral("Maximized")).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrPreviewForm::storePlacement() const {
    const auto settings = placementSettings();
    QSettings& s = *settings;
    const QRect g = isMaximized() ? normalGeometry() : geometry();
    s.setValue(QStringLiteral("XPosition"), g.x());
    s.setValue(QStringLiteral("YPosition"), g.y());
    s.setValue(QStringLiteral("Width"), g.width());
    s.setValue(QStringLiteral("Height"), g.height());
    s.setValue(QStringLiteral("Maximized"), isMaximized());
}

void TfrPreviewForm::done(int result) {
    storePlacement();
    pages_.reset();
    search_.reset();
    QDialog::done(result);
}

void TfrPreviewForm::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event->key(), event->modifiers())) QDialog::keyPressEvent(event);
}

// Layout

void TfrPreviewForm::relayout() {
    const int count = pageCount();
    if (count == 0) {
        geometry_ = {};
        vbar_->setRange(0, 0);
        hbar_->setRange(0, 0);
        vbar_->setEnabled(false);
        hbar_->setEnabled(false);
        updateLabels();
        pbox_->update();
        return;
    }
    current_ = std::clamp(current_, 1, count);
    std::vector<Size> papers;
    papers.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const PreparedPage& p = pages_->Page(i);
        papers.push_back({p.paperWidthPixels(), p.paperHeightPixels()});
    }
    const Size area{pbox_->width(), pbox_->height()};
    // An area too small to hold the gaps around a page gives no factor; the
    // pages keep the last one until the area grows.
    const double factor = zoomFactor(zoom_.mode, zoom_.factor, area, papers[size_t(current_ - 1)]);
    if (factor > 0) zoom_.factor = factor;
    geometry_ = layoutPages(papers, area, zoom_.mode, zoom_.factor);
    for (int i = 0; i < count; ++i)
        pages_->Page(i).screenRect = geometry_.pages[size_t(i)];

    settingScroll_ = true;
    hbar_->setRange(0, geometry_.scrollRangeX);
    vbar_->setRange(0, geometry_.scrollRangeY);
    hbar_->setEnabled(geometry_.scrollRangeX > 0);
    vbar_->setEnabled(geometry_.scrollRangeY > 0);
    hbar_->setPageStep(std::max(area.cx, 1));
    vbar_->setPageStep(std::max(area.cy, 1));
    vbar_->setValue(scrollTopForPage(geometry_, current_));
    settingScroll_ = false;
    updateLabels();
    pbox_->update();
}

void TfrPreviewForm::areaResized() {
    relayout();
}

void TfrPreviewForm::updateLabels() {
    pageLabel_->setText(pageLabelText());
    const QString zoomLabelText = QString::fromStdString(zoomLabel(zoom_.factor));
    button(pbZoom)->setText(zoomLabelText);
    const int checked = checkedZoomChoice(zoom_);
    const QList<QAction*> actions = zoomMenu_->actions();
    for (int i = 0; i < actions.size(); ++i)
        actions[i]->setChecked(i == checked);
}

QString TfrPreviewForm::zoomText() const {
    return button(pbZoom)->text();
}

QString TfrPreviewForm::pageLabelText() const {
    if (pageCount() == 0) return {};
    return qt1251(pageLabel(current_, pageCount()), CrLf::Keep);
}

QString TfrPreviewForm::hintText() const {
    return hintLabel_->text();
}

void TfrPreviewForm::chooseZoom(int menuIndex) {
    zoom_ = zoomMenuChoice(menuIndex, zoom_);
    relayout();
    hbar_->setValue(0);
    rememberedZoom() = zoom_;
}

void TfrPreviewForm::showZoomMenu() {
    QToolButton* b = button(pbZoom);
    zoomMenu_->popup(b->mapToGlobal(QPoint(0, b->height())));
}

// Navigation

void TfrPreviewForm::goToPage(int page) {
    const int count = pageCount();
    if (count == 0) return;
    current_ = std::clamp(page, 1, count);
    settingScroll_ = true;
    vbar_->setValue(scrollTopForPage(geometry_, current_));
    settingScroll_ = false;
    updateLabels();
    pbox_->update();
}

void TfrPreviewForm::verticalScrolled(int value) {
    if (!settingScroll_)
        if (std::optional<int> page = pageAtScroll(geometry_, value)) current_ = *page;
    updateLabels();
    pbox_->update();
}

bool TfrPreviewForm::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (key) {
    case Qt::Key_Up:
        vbar_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return true;
    case Qt::Key_Down:
        vbar_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return true;
    case Qt::Key_Left:
        hbar_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return true;
    case Qt::Key_Right:
        hbar_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return true;
    case Qt::Key_PageUp:
        if (ctrl)
            goToPage(current_ - 1);
        else
            vbar_->triggerAction(QAbstractSlider::SliderPageStepSub);
        return true;
    case Qt::Key_PageDown:
        if (ctrl)
            goToPage(current_ + 1);
        else
            vbar_->triggerAction(QAbstractSlider::SliderPageStepAdd);
        return true;
    case Qt::Key_Home:
        if (!ctrl) return false;
        goToPage(1);
        return true;
    case Qt::Key_End:
        if (!ctrl) return false;
        goToPage(pageCount());
        return true;
    case Qt::Key_Space:
        showZoomMenu();
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_F3:
        findNext();
        return true;
    case Qt::Key_O:
    case Qt::Key_S:
    case Qt::Key_P:
    case Qt::Key_F:
        if (!ctrl) return false;
        if (key == Qt::Key_O) load();
        if (key == Qt::Key_S) save();
        if (key == Qt::Key_P) print();
        if (key == Qt::Key_F) find();
        return true;
    default:
        return false;
    }
}

void TfrPreviewForm::wheelSteps(int steps) {
    vbar_->setValue(vbar_->value() + steps * vbar_->singleStep());
}

int TfrPreviewForm::pageIndexAt(QPoint areaPos) const {
    const QPoint p = areaPos + QPoint(hbar_->value(), vbar_->value());
    for (int i = 0; i < pageCount(); ++i)
        if (toQRect(pages_->Page(i).screenRect).contains(p)) return i;
    return -1;
}

void TfrPreviewForm::mousePressed(QPoint pos, Qt::MouseButton button, QPoint globalPos) {
    if (button == Qt::RightButton) {
        zoomMenu_->popup(globalPos);
        return;
    }
    if (button != Qt::LeftButton) return;
    dragging_ = true;
    dragStart_ = pos;
    dragScroll_ = QPoint(hbar_->value(), vbar_->value());
    const int index = pageIndexAt(pos);
    if (index < 0) return;
    current_ = index + 1;
    updateLabels();
    clickObject(index, pos + dragScroll_);
}

void TfrPreviewForm::clickObject(int index, QPoint previewPos) {
    const ObjectHit hit = pages_->ObjectAtPoint(index, {previewPos.x(), previewPos.y()});
    if (!hit.object) return;
    if (OnObjectClick) OnObjectClick(*hit.object);
    if (hit.link == ObjectHit::Link::GoToPage) {
        dragging_ = false;
        goToPage(hit.page);
    } else if (hit.link == ObjectHit::Link::OpenShell && shellOpener_) {
        dragging_ = false;
        shellOpener_(hit.target);
    }
}

void TfrPreviewForm::mouseMoved(QPoint pos, Qt::MouseButtons buttons) {
    if (dragging_ && (buttons & Qt::LeftButton)) {
        const QPoint delta = pos - dragStart_;
        hbar_->setValue(dragScroll_.x() - delta.x());
        vbar_->setValue(dragScroll_.y() - delta.y());
        return;
    }
    Qt::CursorShape cursor = Qt::ArrowCursor;
    QString hint;
    if (const int index = pageIndexAt(pos); index >= 0) {
        const QPoint p = pos + QPoint(hbar_->value(), vbar_->value());
        const ObjectHit hit = pages_->ObjectAtPoint(index, {p.x(), p.y()});
        if (hit.object && hit.link != ObjectHit::Link::None) {
            cursor = Qt::PointingHandCursor;
            hint = qt1251(hit.hint, CrLf::Keep);
        }
        if (hit.object && OnMouseOverObject) OnMouseOverObject(*hit.object, cursor);
    }
    pbox_->setCursor(cursor);
    hintLabel_->setText(hint);
}

void TfrPreviewForm::mouseReleased() {
    dragging_ = false;
}

// Painting

void TfrPreviewForm::paintArea(QPainter& painter, const QRect& clip) {
    if (pageCount() == 0) {
        painter.fillRect(clip, palette().window());
        return;
    }
    const QPoint scroll(hbar_->value(), vbar_->value());
    const Point scrollPoint{scroll.x(), scroll.y()};
    QRegion grey(clip);
    std::vector<int> shown;
    for (int i = 0; i < pageCount(); ++i) {
        PreparedPage& page = pages_->Page(i);
        const QRect r = toQRect(shifted(page.screenRect, scroll));
        page.visible = pageNearView(page.screenRect, scrollPoint) && r.intersects(clip);
        if (!page.visible) continue;
        shown.push_back(i);
        grey -= r;
    }
    for (const QRect& r : grey)
        painter.fillRect(r, QColor(kAreaGrey));
    for (int i : shown) {
        const QRect r = toQRect(shifted(pages_->Page(i).screenRect, scroll));
        painter.fillRect(r, Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.drawLine(r.left() + 1, r.bottom() + 1, r.right() + 1, r.bottom() + 1);
        painter.drawLine(r.right() + 1, r.top() + 1, r.right() + 1, r.bottom() + 1);
    }
    for (int i = 0; i < pageCount(); ++i) {
        PreparedPage& page = pages_->Page(i);
        const Rect r = shifted(page.screenRect, scroll);
        painter.save();
        QtPainterCanvas canvas(painter, FontService::shared(), kScreenPixelsPerInch);
        canvas.IntersectClipRect({clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1});
        pages_->PaintPage(i, canvas, PaintRectangle(page, r));
        painter.restore();
    }
    if (std::optional<QRect> hit = hitRect()) {
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(*hit & clip, Qt::white);
        painter.restore();
    }
}

// Search

void TfrPreviewForm::resetSearch() {
    const int count = pageCount();
    std::string text;
    bool caseSensitive = false;
    if (search_) text = search_->text(), caseSensitive = search_->caseSensitive();
    search_ = std::make_unique<PageSearch>([this](int page) { return recordPage(page); }, count);
    if (!text.empty()) search_->setText(text, caseSensitive);
}

std::vector<std::uint8_t> TfrPreviewForm::recordPage(int page) {
    return RecordPreparedPage(*pages_, page - 1);
}

std::optional<QRect> TfrPreviewForm::hitRect() const {
    if (!search_ || !search_->lastHit() || pageCount() == 0) return std::nullopt;
    const PageHit& hit = *search_->lastHit();
    if (hit.page > pageCount()) return std::nullopt;
    const PreparedPage& page = pages_->Page(hit.page - 1);
    const Rect r = shifted(page.screenRect, QPoint(hbar_->value(), vbar_->value()));
    const double sx = double(r.width()) / std::max(page.paperWidthPixels(), 1);
    const double sy = double(r.height()) / std::max(page.paperHeightPixels(), 1);
    const EmfRect& b = hit.hit.bounds;
    const int left = r.left + int(std::lround(b.left * sx));
    const int top = r.top + int(std::lround(b.top * sy));
    const int right = r.left + int(std::lround((b.right + 1) * sx));
    const int bottom = r.top + int(std::lround((b.bottom + 1) * sy));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void TfrPreviewForm::scrollToHit() {
    const PageHit& hit = *search_->lastHit();
    if (hit.page != current_) goToPage(hit.page);
    std::optional<QRect> r = hitRect();
    if (!r) return;
    const QRect view(0, 0, pbox_->width(), pbox_->height());
    if (!view.contains(*r)) {
        if (r->bottom() >= view.height() || r->top() < 0)
            vbar_->setValue(vbar_->value() + r->top() - view.height() / 2);
        if (r->right() >= view.width() || r->left() < 0)
            hbar_->setValue(hbar_->value() + r->left() - 10);
    }
    pbox_->update();
}

bool TfrPreviewForm::findText(const std::string& text, bool caseSensitive, bool fromStart) {
    if (!search_ || pageCount() == 0) return false;
    search_->setText(text, caseSensitive);
    if (text.empty()) return false;
    if (!search_->findFrom(fromStart ? 1 : current_)) return false;
    scrollToHit();
    return true;
}

void TfrPreviewForm::find() {
    if (pageCount() == 0) return;
    PreviewSearchForm dialog(this);
    if (search_) {
        dialog.setText(qt1251(search_->text(), CrLf::Keep));
        dialog.setCaseSensitive(search_->caseSensitive());
    }
    if (dialog.exec() != QDialog::Accepted) return;
    findText(from1251(dialog.text()), dialog.caseSensitive(), dialog.fromStart());
}

void TfrPreviewForm::findNext() {
    if (!search_ || !search_->hasText() || pageCount() == 0) return;
    if (search_->findNext()) scrollToHit();
}

// Save, load, print

std::optional<TfrPreviewForm::FileChoice> TfrPreviewForm::chooseFile(FileDialogKind kind,
                                                                     const QStringList& filters) {
    if (fileChooser_) return fileChooser_(kind, filters);
    QString selected;
    const QString filterText = filters.join(QStringLiteral(";;"));
    const QString path =
        kind == FileDialogKind::Save
            ? QFileDialog::getSaveFileName(this, QString(), QString(), filterText, &selected)
            : QFileDialog::getOpenFileName(this, QString(), QString(), filterText, &selected);
    if (path.isEmpty()) return std::nullopt;
    return FileChoice{path, std::max<int>(0, int(filters.indexOf(selected)))};
}

void TfrPreviewForm::save() {
    if (pageCount() == 0 || ExportFilterCount() == 0) return;
    QStringList filters;
    for (int i = 0; i < ExportFilterCount(); ++i) {
        const ExportFilterEntry& e = ExportFilterAt(i);
        filters << qt1251(e.description, CrLf::Keep) + QStringLiteral(" (") +
                       QString::fromStdString(e.pattern) + QLatin1Char(')');
    }
    const std::optional<FileChoice> choice = chooseFile(FileDialogKind::Save, filters);
    if (!choice) return;
    const ExportFilterEntry& entry =
        ExportFilterAt(std::clamp(choice->filterIndex, 0, ExportFilterCount() - 1));
    // A name the user already ended with the extension keeps it once.
    QString path = choice->path;
    const QString ext = extensionOf(entry.pattern);
    if (!path.endsWith(ext, Qt::CaseInsensitive)) path += ext;
    try {
        PagesLent lent(*this);
        report_.ExportPrepared(*entry.filter, path.toStdString());
    } catch (const std::exception& e) {
        QMessageBox::critical(this, QStringLiteral("Ошибка"), QString::fromUtf8(e.what()));
    }
    relayout();
}

void TfrPreviewForm::load() {
    const std::optional<FileChoice> choice =
        chooseFile(FileDialogKind::Open, {QStringLiteral("Файл отчета (*.frp)")});
    if (!choice) return;
    {
        PagesLent lent(*this);
        report_.LoadPreparedFile(choice->path.toStdString());
    }
    if (report_.lastLoad() != LoadResult::Ok)
        QMessageBox::critical(this, QStringLiteral("Ошибка"), QStringLiteral("Неверный FRF формат"));
    current_ = 1;
    if (search_) search_.reset();
    resetSearch();
    relayout();
}

void TfrPreviewForm::print() {
    if (!printHook_ || pageCount() == 0) return;
    {
        PagesLent lent(*this);
        printHook_(report_, current_);
    }
    resetSearch();
    relayout();
}

} // namespace pv
