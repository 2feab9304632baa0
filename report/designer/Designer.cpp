#include "report/designer/Designer.h"

#include "platform/Ui.h"
#include "report/designer/DesignerDocument.h"
#include "report/designer/DesignerPage.h"
#include "report/designer/ObjectInspector.h"
#include "report/qt/QtText.h"
#include "report/template/Report.h"
#include "report/template/source/TemplateSource.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

#include <filesystem>

namespace pv {

TfrDesigner::TfrDesigner(TfrReport& report, const std::string& path, Ui& ui, QWidget* parent)
    : QDialog(parent, Qt::Window), document_(std::make_unique<DesignerDocument>(report, path)),
      ui_(ui) {
    setObjectName(QStringLiteral("frDesigner"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    tabs_ = new QTabWidget(this);
    auto* splitter = new QSplitter(tabs_);
    scroll_ = new QScrollArea(splitter);
    scroll_->setBackgroundRole(QPalette::Dark);
    page_ = new DesignerPage(*document_);
    scroll_->setWidget(page_);
    inspector_ = new ObjectInspector(*document_, splitter);
    splitter->addWidget(scroll_);
    splitter->addWidget(inspector_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    inspector_->setMaximumWidth(440);
    splitter->setSizes({760, 340});
    tabs_->addTab(splitter, QStringLiteral("Страница"));

    auto* sourceTab = new QWidget(tabs_);
    auto* sourceLayout = new QVBoxLayout(sourceTab);
    source_ = new QPlainTextEdit(sourceTab);
    source_->setObjectName(QStringLiteral("source"));
    source_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    source_->setFont(mono);
    sourceError_ = new QLabel(sourceTab);
    sourceError_->setObjectName(QStringLiteral("sourceError"));
    sourceError_->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* apply = new QPushButton(QStringLiteral("Применить"), sourceTab);
    apply->setObjectName(QStringLiteral("applySource"));
    connect(apply, &QPushButton::clicked, this, [this] { applySource(); });
    sourceLayout->addWidget(source_);
    sourceLayout->addWidget(sourceError_);
    sourceLayout->addWidget(apply, 0, Qt::AlignRight);
    tabs_->addTab(sourceTab, QStringLiteral("Источник"));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1) loadSource();
    });

    buildActions();
    layout->addWidget(tabs_);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    layout->addWidget(status_);

    document_->setChanged([this] { updateState(); });
    page_->setZoom(1.0);
    resize(1100, 800);
    updateState();
}

TfrDesigner::~TfrDesigner() {
    // The views go while the document they show still exists.
    delete tabs_;
}

void TfrDesigner::setSavePath(const std::string& path) {
    document_->setSavePath(path);
    updateState();
}

QAction* TfrDesigner::action(const QString& name, const QString& text, const QKeySequence& key,
                             const std::function<void()>& slot) {
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
    return a;
}

void TfrDesigner::buildActions() {
    using Kind = DesignerDocument::NewObject;
    using Edge = DesignerDocument::Edge;
    DesignerDocument& d = *document_;
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    save_ = action(QStringLiteral("save"), QStringLiteral("Сохранить"), QKeySequence::Save,
                   [this] { save(); });
    file->addAction(save_);
    file->addAction(
        action(QStringLiteral("preview"), QStringLiteral("Просмотр"), QKeySequence(), [this] {
            if (preview_) preview_(document_->report());
        }));
    file->addSeparator();
    file->addAction(action(QStringLiteral("close"), QStringLiteral("Закрыть"), QKeySequence(),
                           [this] { close(); }));

    QMenu* edit = bar->addMenu(QStringLiteral("Правка"));
    undo_ = action(QStringLiteral("undo"), QStringLiteral("Отменить"), QKeySequence::Undo,
                   [&d] { d.undo(); });
    redo_ = action(QStringLiteral("redo"), QStringLiteral("Повторить"), QKeySequence::Redo,
                   [&d] { d.redo(); });
    edit->addAction(undo_);
    edit->addAction(redo_);
    edit->addSeparator();
    edit->addAction(action(QStringLiteral("copy"), QStringLiteral("Копировать"), QKeySequence::Copy,
                           [this, &d] {
                               d.copySelection();
                               updateState();
                           }));
    paste_ = action(QStringLiteral("paste"), QStringLiteral("Вставить"), QKeySequence::Paste,
                    [&d] { d.paste(); });
    edit->addAction(paste_);
    edit->addAction(action(QStringLiteral("delete"), QStringLiteral("Удалить"),
                           QKeySequence::Delete, [&d] { d.deleteSelection(); }));

    QMenu* insert = bar->addMenu(QStringLiteral("Вставка"));
    insert->addAction(action(QStringLiteral("addMemo"), QStringLiteral("Текст"), QKeySequence(),
                             [&d] { d.add(Kind::Memo); }));
    insert->addAction(action(QStringLiteral("addLine"), QStringLiteral("Линия"), QKeySequence(),
                             [&d] { d.add(Kind::Line); }));
    insert->addAction(action(QStringLiteral("addBand"), QStringLiteral("Полоса"), QKeySequence(),
                             [&d] { d.add(Kind::Band); }));

    QMenu* align = bar->addMenu(QStringLiteral("Выравнивание"));
    align->addAction(action(QStringLiteral("alignLeft"), QStringLiteral("По левому краю"),
                            QKeySequence(), [&d] { d.alignSelection(Edge::Left); }));
    align->addAction(action(QStringLiteral("alignRight"), QStringLiteral("По правому краю"),
                            QKeySequence(), [&d] { d.alignSelection(Edge::Right); }));
    align->addAction(action(QStringLiteral("alignTop"), QStringLiteral("По верху"), QKeySequence(),
                            [&d] { d.alignSelection(Edge::Top); }));
    align->addAction(action(QStringLiteral("alignBottom"), QStringLiteral("По низу"),
                            QKeySequence(), [&d] { d.alignSelection(Edge::Bottom); }));

    QMenu* view = bar->addMenu(QStringLiteral("Вид"));
    view->addAction(action(QStringLiteral("zoomIn"), QStringLiteral("Крупнее"),
                           QKeySequence::ZoomIn, [this] { setZoom(page_->zoom() * 1.25); }));
    view->addAction(action(QStringLiteral("zoomOut"), QStringLiteral("Мельче"),
                           QKeySequence::ZoomOut, [this] { setZoom(page_->zoom() / 1.25); }));
    view->addAction(action(QStringLiteral("zoom100"), QStringLiteral("100 %"), QKeySequence(),
                           [this] { setZoom(1.0); }));
}

void TfrDesigner::setZoom(double zoom) {
    page_->setZoom(zoom);
    updateState();
}

void TfrDesigner::updateState() {
    undo_->setEnabled(document_->canUndo());
    redo_->setEnabled(document_->canRedo());
    paste_->setEnabled(document_->canPaste());
    inspector_->refresh();
    page_->update();
    const QString file = QString::fromStdString(document_->savePath());
    const bool modified = document_->modified();
    setWindowTitle(QStringLiteral("Дизайнер отчёта - %1%2").arg(file, modified ? " *" : ""));
    status_->setText(QStringLiteral("Масштаб %1 %   Выбрано: %2")
                         .arg(qRound(page_->zoom() * 100))
                         .arg(document_->selection().size()));
}

void TfrDesigner::loadSource() {
    source_->setPlainText(QString::fromStdString(writeTemplateSource(document_->report())));
    sourceError_->clear();
}

bool TfrDesigner::applySource() {
    const std::string text = source_->toPlainText().toStdString();
    const std::string baseDir = std::filesystem::u8path(document_->path()).parent_path().string();
    try {
        // Compiled into a scratch report first, so that an error leaves the
        // model exactly as it was.
        TfrReport scratch;
        readTemplateSource(text, scratch, baseDir);
    } catch (const TemplateSourceError& e) {
        sourceError_->setText(
            QStringLiteral("Строка %1: %2").arg(e.line()).arg(QString::fromUtf8(e.what())));
        QTextCursor at(source_->document()->findBlockByNumber(std::max(0, e.line() - 1)));
        source_->setTextCursor(at);
        source_->setFocus();
        return false;
    } catch (const std::exception& e) {
        sourceError_->setText(QString::fromUtf8(e.what()));
        return false;
    }
    document_->clearSelection();
    document_->change([&] {
        const std::string fileName = document_->report().FileName;
        readTemplateSource(text, document_->report(), baseDir);
        document_->report().FileName = fileName;
    });
    sourceError_->clear();
    return true;
}

bool TfrDesigner::save() {
    const std::string why = document_->save();
    if (why.empty()) return true;
    ui_.messageBox(ru("Шаблон не сохранён: ") + utf8ToCp1251(why), programName(), MsgIcon::Error,
                   MsgButtons::Ok);
    return false;
}

void TfrDesigner::reject() {
    close();
}

void TfrDesigner::closeEvent(QCloseEvent* e) {
    if (document_->modified()) {
        const MsgResult answer =
            ui_.messageBox(ru("Шаблон изменён. Сохранить изменения?"), programName(),
                           MsgIcon::Question, MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel || answer == MsgResult::None ||
            (answer == MsgResult::Yes && !save())) {
            e->ignore();
            return;
        }
    }
    e->accept();
    QDialog::reject();
}

} // namespace pv
