#pragma once

#include "batch/BatchFile.h"
#include "batch/BatchHeader.h"
#include "batch/ProgramSettings.h"
#include "batch/ReportService.h"

#include <functional>
#include <string>
#include <vector>

namespace pv {

class Ui;
class BatchDriver;

// What the main window shares with the driver for the program's whole run.
struct DriverContext {
    std::string ProgramDir;       // ends in a path separator; holds the settings file
    // The directories searched for a template, in order, each ending in a
    // separator; none: ProgramDir's TempPlay.
    std::vector<std::string> TemplateDirs;
    std::string commandLineArg;   // the first argument, as given
    ProgramSettings settings;     // the current setting values
    std::function<void()> closeMainWindow = [] {};
};

// Decides whether the run goes on after the registration-number check.
class RegionCheck {
public:
    virtual ~RegionCheck() = default;
    // Every run starts with the stop request of an earlier warning cleared.
    virtual void clearStopRequested() {}
    // False when the user chose to stop.
    virtual bool allows(const std::string& regNom) = 0;
};

// The document parsers. Each reads the rest of the batch file; the parsers of
// the individual records return to the driver, the others end the run
// themselves with `BatchDriver::endOfRun`.
class DocumentParsers {
public:
    virtual ~DocumentParsers() = default;
    virtual void emptyRunTables() {}
    virtual void parse(const std::string& docType, BatchDriver& driver) = 0;
    // The end of an individual-records run before the report: post the pending
    // person and period rows and switch the period filter on.
    virtual void finishIndividualRecords() {}
};

// One run of the main button: choose and open the file, read and check the
// header, publish the report variables, load the template of the document type
// and hand the rest to its parser.
class BatchDriver {
public:
    BatchDriver(DriverContext& context, Ui& ui, ReportService& reports);

    void setRegionCheck(RegionCheck* check) { regionCheck_ = check; }
    void setParsers(DocumentParsers* parsers) { parsers_ = parsers; }

    // The run (the main button's handler).
    void BitBtn13Click();
    // The run from the header on, over a batch file already opened (as by
    // `batchFile().openBytes`); the tables are not emptied here.
    void processOpenedFile();

    // For the parsers.
    BatchFile& batchFile() { return file_; }
    const std::string& DocType() const { return docType_; }
    const BatchHeader& header() const { return header_; }
    const DriverContext& context() const { return context_; }
    Ui& ui() { return ui_; }
    ReportService& reports() { return reports_; }
    // Close the file, show `report`, clear the variables, close the main window
    // in command-line mode. `postPending` posts the parser's pending rows first.
    void endOfRun(ReportId report, const std::function<void()>& postPending = {});

    // The template file names (no directory) for a document type, by report;
    // empty when the type is unknown.
    std::vector<std::pair<ReportId, std::string>> templatesFor(const std::string& docType) const;

    static const char* kFileFilter;

private:
    bool openBatchFile();
    bool readHeader();
    void publishSignatures();
    void abortWithConversionError(const std::string& text);
    void showPlain(const std::string& text);
    void showError(const std::string& text);
    void loadTemplates(const std::vector<std::pair<ReportId, std::string>>& templates);
    void runParser();

    DriverContext& context_;
    Ui& ui_;
    ReportService& reports_;
    RegionCheck* regionCheck_ = nullptr;
    DocumentParsers* parsers_ = nullptr;

    BatchFile file_;
    std::string docType_;
    BatchHeader header_;
};

} // namespace pv
