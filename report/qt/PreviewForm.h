#pragma once

#include "report/prepared/PageSearch.h"
#include "report/prepared/PreviewLayout.h"
#include "report/prepared/PreviewProperties.h"

#include <QDialog>
#include <QRect>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QMenu;
class QScrollBar;
class QToolButton;

namespace pv {

class TfrEMFPages;
class TfrPBox;
class TfrReport;
class TfrView;

// The preview window: shows a report's prepared pages, zooms and scrolls
// them, follows links, searches their text, saves them through an export
// filter and loads prepared-report files. While the window shows, it holds
// the report's pages; operations that need them in the report (save, load,
// print) lend them back for their duration.
class TfrPreviewForm : public QDialog {
    Q_OBJECT
public:
    // Printing is somebody else's: the hook gets the report holding its pages
    // and the current page (1-based). Without a hook there is no printing.
    using PrintHook = std::function<void(TfrReport& report, int currentPage)>;
    // Opens a link object's Tag (1251) with the desktop; replaced in tests.
    using ShellOpener = std::function<void(const std::string& target)>;
    // Asks for a file to save or open, offering these file types; gives the
    // path and the index of the type chosen, nothing when cancelled.
    enum class FileDialogKind { Save, Open };
    struct FileChoice {
        QString path;
        int filterIndex = 0;
    };
    using FileChooser =
        std::function<std::optional<FileChoice>(FileDialogKind kind, const QStringList& filters)>;

    explicit TfrPreviewForm(TfrReport& report, QWidget* parent = nullptr);
    ~TfrPreviewForm() override;

    void setPrintHook(PrintHook hook);
    void setShellOpener(ShellOpener opener) { shellOpener_ = std::move(opener); }
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
    std::function<void(TfrView&)> OnObjectClick;
    // May change the cursor shown over the object.
    std::function<void(TfrView&, Qt::CursorShape&)> OnMouseOverObject;

    // Moves the report's prepared pages into the window and starts at page 1
    // with the report's opening zoom.
    void takePages();
    // The pages the window holds; none after it was closed.
    TfrEMFPages* pages() const { return pages_.get(); }
    int pageCount() const;
    int currentPage() const { return current_; }
    void goToPage(int page);

    // The position and size the window had when it was last closed, or
    // maximized the first time.
    void restorePlacement();

    // Toolbar, menu and labels, as the user sees them.
    QToolButton* button(TfrPreviewButton which) const;
    QMenu* zoomMenu() const { return zoomMenu_; }
    QString zoomText() const;
    QString pageLabelText() const;
    QString hintText() const;
    TfrPBox* pageArea() const { return pbox_; }
    QScrollBar* verticalBar() const { return vbar_; }
    QScrollBar* horizontalBar() const { return hbar_; }
    const ZoomState& zoom() const { return zoom_; }
    void chooseZoom(int menuIndex);

    // The toolbar's actions.
    void load();
    void save();
    void print();
    void find();
    void findNext();
    // What confirming the find dialog does: stores the text and searches from
    // the first page or from the current one. False when nothing was found.
    bool findText(const std::string& text, bool caseSensitive, bool fromStart);
    // The last hit's rectangle in page-area pixels (as painted inverted).
    std::optional<QRect> hitRect() const;

    // The page area's share of the work.
    void paintArea(QPainter& painter, const QRect& clip);
    void areaResized();
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void wheelSteps(int steps);
    void mousePressed(QPoint pos, Qt::MouseButton button, QPoint globalPos);
    void mouseMoved(QPoint pos, Qt::MouseButtons buttons);
    void mouseReleased();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class PagesLent;

    void buildToolbar(TfrPreviewButtons shown);
    void buildZoomMenu();
    void relayout();
    void updateLabels();
    void verticalScrolled(int value);
    void scrollToHit();
    void showZoomMenu();
    int pageIndexAt(QPoint areaPos) const;
    void clickObject(int index, QPoint previewPos);
    std::vector<std::uint8_t> recordPage(int page);
    void resetSearch();
    void storePlacement() const;
    std::optional<FileChoice> chooseFile(FileDialogKind kind, const QStringList& filters);

    TfrReport& report_;
    std::unique_ptr<TfrEMFPages> pages_;
    PrintHook printHook_;
    ShellOpener shellOpener_;
    FileChooser fileChooser_;

    TfrPBox* pbox_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QLabel* hintLabel_ = nullptr;
    QMenu* zoomMenu_ = nullptr;
    std::vector<QToolButton*> buttons_; // indexed by the button's bit

    ZoomState zoom_;
    PreviewGeometry geometry_;
    int current_ = 1;
    bool settingScroll_ = false;
    QPoint dragStart_;
    QPoint dragScroll_;
    bool dragging_ = false;

    std::unique_ptr<PageSearch> search_;
};

} // namespace pv
