#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QPlainTextEdit;
class QScrollArea;
class QTabWidget;

namespace pv {

class DesignerDocument;
class DesignerPage;
class ObjectInspector;
class TfrReport;
class Ui;

// The template designer: opened on a report with its template loaded, it
// shows the page as designed with an inspector beside it and the template's
// readable source on a second tab, and saves the template back to its file.
// exec() returns when it is closed; closing with unsaved changes asks.
class TfrDesigner : public QDialog {
    Q_OBJECT
public:
    // `path`: the file the template was loaded from (UTF-8); Save writes there
    // unless setSavePath() says otherwise.
    TfrDesigner(TfrReport& report, const std::string& path, Ui& ui, QWidget* parent = nullptr);
    ~TfrDesigner() override;

    void setSavePath(const std::string& path);
    // What "Просмотр" does with the template as it stands (prepare and show it).
    void setPreview(std::function<void(TfrReport&)> preview) { preview_ = std::move(preview); }

    DesignerDocument& document() { return *document_; }
    DesignerPage* pageView() const { return page_; }
    ObjectInspector* inspector() const { return inspector_; }
    QPlainTextEdit* sourceView() const { return source_; }
    QLabel* sourceError() const { return sourceError_; }

    // Saves; false when the file could not be written (the user was told why).
    bool save();
    // Compiles the source tab into the model. False (the model kept, the
    // error shown at its line) when the source has an error.
    bool applySource();
    void setZoom(double zoom);

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void buildActions();
    void updateState();
    void loadSource();
    QAction* action(const QString& name, const QString& text, const QKeySequence& key,
                    const std::function<void()>& slot);

    std::unique_ptr<DesignerDocument> document_;
    Ui& ui_;
    std::function<void(TfrReport&)> preview_;
    QTabWidget* tabs_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    DesignerPage* page_ = nullptr;
    ObjectInspector* inspector_ = nullptr;
    QPlainTextEdit* source_ = nullptr;
    QLabel* sourceError_ = nullptr;
    QLabel* status_ = nullptr;
    QAction *undo_ = nullptr, *redo_ = nullptr, *paste_ = nullptr, *save_ = nullptr;
    bool closing_ = false;
};

} // namespace pv
