#include "batch/FormParsers.h"

#include "batch/FormTables.h"
#include "batch/Szv3Records.h"
#include "batch/Szv4Records.h"
#include "platform/CodePage.h"

namespace pv {

void FormParsers::emptyRunTables() {
    tables_.emptyRunTables();
}

void FormParsers::parse(const std::string& docType, BatchDriver& driver) {
    if (docType == ru("ИН41") || docType == ru("ИН42"))
        return Szv4Records(tables_, driver).RecordLoop();
    if (docType == ru("ИНДС") || docType == ru("ИН20") || docType == ru("ИН30"))
        return Szv3Records(tables_, driver).Before2002();
    // The parsers of the other document types end their runs themselves; until
    // they are in place the run ends here with the template alone.
    driver.endOfRun(docType == ru("КОНВ") ? ReportId::frCompositeReport1 : ReportId::frReport1);
}

void FormParsers::finishIndividualRecords() {
    tables_.Table2.Post();
    tables_.Table3.Post();
    tables_.Table3.SetFiltered(true);
}

std::vector<TRxMemoryData*> FormParsers::tablesOf(const std::string& docType) const {
    for (const char* code : {"ИН41", "ИН42", "ИНДС", "ИН20", "ИН30"})
        if (docType == ru(code)) return {&tables_.Table2, &tables_.Table3};
    return {};
}

} // namespace pv
