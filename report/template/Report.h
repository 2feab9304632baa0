#pragma once

#include "report/model/DataDictionary.h"
#include "report/model/Page.h"
#include "report/prepared/PreviewLayout.h"
#include "report/prepared/PreviewProperties.h"
#include "report/template/ReportEvents.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pv {

class ByteStream;
class ExportProgress;
class ProgressWindow;
class TfrEMFPages;
class TfrExportFilter;
class Ui;

// The descriptive information a template carries.
struct TfrReportInfo {
    std::string ReportComment, ReportName, ReportAutor;
    std::string VMajor, VMinor, VRelease, VBuild;
    std::string Password;
    uint8_t GeneratorVersion = 88;
    uint8_t PasswordSet = 0;
    double CreationDate = 0; // days since 30 December 1899
    double LastChangeDate = 0;
};

// How the last load ended.
enum class LoadResult { Ok, BadEdition, Unreadable, NonPlugged, PasswordRefused };

// A report template: pages with their objects, the dictionary and the
// report information, read from and written to `.frf` files.
class TfrReport {
public:
    TfrReport();
    virtual ~TfrReport();

    // Where messages and the password prompt go; none: nothing is shown.
    void setUi(Ui* ui) { ui_ = ui; }
    Ui* ui() const { return ui_; }
    // The current date-time (days since 30 December 1899) for the report
    // dates; the wall clock unless replaced (tests, reproducible builds).
    void setClock(std::function<double()> clock) { clock_ = std::move(clock); }
    double now() const;
    // Whether a DataSet.Field reference names an existing field; used when an
    // old dictionary is cleaned up. Without it no field exists.
    void setFieldResolver(std::function<bool(const std::string&)> resolver) {
        fieldResolver_ = std::move(resolver);
    }
    const std::function<bool(const std::string&)>& fieldResolver() const { return fieldResolver_; }

    // Loading says one thing one way: false, changing nothing, when the file
    // does not exist; true otherwise, also when the content was refused, which
    // lastLoad() and lastLoadDetail() then tell.
    bool LoadFromFile(const std::string& path);
    void LoadFromStream(ByteStream& stream);
    void SaveToStream(ByteStream& stream);
    // False when the file cannot be written.
    bool SaveToFile(const std::string& path);
    void Clear();
    // The property a form stores its report in: i32 25 and, when the template
    // is kept in the form, its length and bytes. The program's reports keep
    // only the four bytes and load their templates from files.
    void ReadReportForm(ByteStream& stream, bool storeInForm);
    void WriteReportForm(ByteStream& stream, bool storeInForm);
    LoadResult lastLoad() const { return lastLoad_; }
    // What went wrong in detail (offset, record), for diagnosis.
    const std::string& lastLoadDetail() const { return lastLoadDetail_; }

    // Pages.
    int PageCount() const { return static_cast<int>(Pages.size()); }
    TfrPage& Page(int index) { return *Pages.at(index); }
    // A new page named "Page" and the smallest free number.
    TfrPage& AddPage();

    // Objects of every page.
    TfrView* FindObject(const std::string& name) const;
    // Prefix followed by the smallest number from 1 to 10000 no object uses.
    std::string NewObjectName(const std::string& prefix) const;
    std::string NewPageName() const;

    std::vector<std::unique_ptr<TfrPage>> Pages;
    TfrDataDictionary Dictionary;
    WordBool PrintToDefault = kTrue;
    WordBool DoublePass = 0;
    // The printer named in the template (1251); 0x01 alone is the virtual printer.
    std::string PrinterName;
    TfrReportInfo Info;
    std::string FileName = "Untitled";

    // What preparation calls when set; the program sets none.
    TfrReportEvents Events;

    // How the preview shows the prepared pages.
    std::string Title; // 1251; the preview's caption adds it
    TfrPreviewButtons PreviewButtons = kDefaultPreviewButtons;
    TfrPreviewZoom InitialZoom = TfrPreviewZoom::pzDefault;
    bool ModalPreview = true;
    bool ModifyPrepared = true;

    // Preparing, printing and exporting run inside the progress window, when
    // the report has one; with Events.OnProgress assigned, that gets the
    // page numbers instead and no window shows.
    bool ShowProgress = true;
    void setProgressWindow(ProgressWindow* window) { progressWindow_ = window; }
    ProgressWindow* progressWindow() const { return progressWindow_; }

    // The printer-name text that stands for the virtual printer.
    static const std::string kVirtualPrinterName;

    // The prepared pages.
    TfrEMFPages& EMFPages() { return *emfPages_; }
    // Replaces the prepared pages with a prepared-report file, reporting as
    // LoadFromFile does: false, changing nothing, when the file cannot be
    // opened; a file that cannot be read leaves no pages and is told by
    // lastLoad(). A loaded report cannot be prepared again.
    bool LoadPreparedFile(const std::string& path);
    // False when the file cannot be written.
    [[nodiscard]] bool SavePreparedFile(const std::string& path);
    bool CanRebuild() const { return canRebuild_; }
    // The preview holds the pages while it shows: taking them leaves the
    // report a new empty list; handing them back replaces the report's list.
    std::unique_ptr<TfrEMFPages> TakeEMFPages();
    void ReturnEMFPages(std::unique_ptr<TfrEMFPages> pages);

    // Writes the prepared pages through the filter into the file. Creates no
    // file when OnBeforeExport or the filter's options dialog says no; the
    // file is closed also when the filter fails, and the failure propagates.
    // Without a progress of its own the export follows the report's progress
    // window; a cancel there leaves the pages exported so far in the file.
    void ExportPrepared(TfrExportFilter& filter, const std::string& fileName,
                        ExportProgress* progress = nullptr);
    // The filter of the export running, or none.
    TfrExportFilter* CurrentFilter() const { return currentFilter_; }

    // Selects the printer named unless the report prints to the default
    // printer; remembers the name either way.
    void SelectPrinterByName(const std::string& name);
    // What the file says about the currently selected printer.
    std::string selectedPrinterText() const;

private:
    void resetInfo();
    void showFormatError();
    void replaceWithEmptyPage();
    void askPassword();

    Ui* ui_ = nullptr;
    std::function<double()> clock_;
    std::function<bool(const std::string&)> fieldResolver_;
    LoadResult lastLoad_ = LoadResult::Ok;
    std::string lastLoadDetail_;
    std::unique_ptr<TfrEMFPages> emfPages_;
    bool canRebuild_ = true;
    TfrExportFilter* currentFilter_ = nullptr;
    ProgressWindow* progressWindow_ = nullptr;
};

} // namespace pv
