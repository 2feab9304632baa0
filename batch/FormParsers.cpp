#include "batch/FormParsers.h"

#include "batch/Adv11Statement.h"
#include "batch/Adv1Questionnaire.h"
#include "batch/Adv23Applications.h"
#include "batch/FormTables.h"
#include "batch/InventoryPackage.h"
#include "batch/SummaryStatement.h"
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
    if (docType == ru("ВУПЛ")) return Adv11Statement(tables_, driver).ADV2002();
    if (docType == ru("КОНВ")) return InventoryPackage(tables_, driver).SZVK();
    if (docType == ru("АНКТ")) return Adv1Questionnaire(tables_, driver).ADV1();
    if (docType == ru("ОБМН")) return Adv23Applications(tables_, driver).ADV2();
    if (docType == ru("ДУБЛ")) return Adv23Applications(tables_, driver).ADV3();
    if (docType == ru("СВОД")) return SummaryStatement(tables_, driver).ADV2001();
    // A type without a parser of its own ends the run with the template alone.
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
    if (docType == ru("ВУПЛ"))
        return {&tables_.Table1, &tables_.Table4, &tables_.Table5, &tables_.Table6};
    if (docType == ru("КОНВ"))
        return {&tables_.Table2,   &tables_.Table3,     &tables_.TableDEJT,
                &tables_.TableFid, &tables_.TableFidVr, &tables_.TableFidVs};
    if (docType == ru("АНКТ")) return {&tables_.TableAnk};
    if (docType == ru("ОБМН") || docType == ru("ДУБЛ")) return {&tables_.AnkTable};
    if (docType == ru("СВОД")) return {&tables_.TableSvod};
    return {};
}

} // namespace pv
