#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pv {

class TfrPage;
class TfrReport;
class TfrView;

// The template a designer edits: the report, the objects selected on the
// current page, the undo and redo history, the clipboard, and the file the
// template came from. Every change goes through change(), which records the
// state before it, so one undo takes back one user action.
class DesignerDocument {
public:
    // Report pixels per millimetre, the designer's unit for people.
    static constexpr double kPixelsPerMm = 3.6;

    DesignerDocument(TfrReport& report, std::string path);
    ~DesignerDocument();

    TfrReport& report() { return report_; }
    const std::string& path() const { return path_; }
    // Where Save writes; the file it was loaded from unless told otherwise.
    const std::string& savePath() const { return savePath_; }
    void setSavePath(std::string path) { savePath_ = std::move(path); }

    int pageIndex() const { return pageIndex_; }
    void setPageIndex(int index);
    TfrPage* page();

    // Selection, in the order the objects were picked; the first is the
    // reference for alignment.
    const std::vector<TfrView*>& selection() const { return selection_; }
    void select(TfrView* view, bool add);
    void clearSelection();
    bool isSelected(const TfrView* view) const;
    // The object the inspector shows: the single selected one, else none.
    TfrView* current() const { return selection_.size() == 1 ? selection_.front() : nullptr; }

    // Applies `edit` as one undoable step. An edit that changes nothing
    // leaves no step behind.
    void change(const std::function<void()>& edit);
    // Records the state for a step finished later by commitStep() (a mouse
    // drag that changes the objects many times before it ends).
    void beginStep();
    void commitStep();
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    void undo();
    void redo();
    bool modified() const;

    // Editing the selection.
    void moveSelection(int dxMm, int dyMm);
    void resizeSelection(int dwMm, int dhMm);
    enum class Edge { Left, Right, Top, Bottom };
    void alignSelection(Edge edge);
    void deleteSelection();
    void copySelection();
    void paste();
    bool canPaste() const { return !clipboard_.empty(); }
    enum class NewObject { Memo, Line, Band };
    TfrView* add(NewObject kind);

    // Rounds report pixels to the millimetre grid and back.
    static int toGrid(int pixels);
    static int fromMm(double mm);
    static double toMm(int pixels) { return pixels / kPixelsPerMm; }

    // Writes the template to savePath() in the current edition: into a
    // temporary file beside it, renamed over the old one, so that a failure
    // leaves the old file as it was. Empty on success, else why not (UTF-8).
    std::string save();

    // Called after every change of the model or the selection.
    void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    void notify();

private:
    std::string snapshot();
    void restore(const std::string& bytes);
    // The selection as names, for keeping it across a restore.
    std::vector<std::string> selectedNames() const;
    void reselect(const std::vector<std::string>& names);

    TfrReport& report_;
    std::string path_, savePath_;
    int pageIndex_ = 0;
    std::vector<TfrView*> selection_;
    std::vector<std::string> undo_, redo_;
    std::string pending_;
    std::string saved_;
    std::vector<std::unique_ptr<TfrView>> clipboard_;
    std::function<void()> changed_;
};

} // namespace pv
