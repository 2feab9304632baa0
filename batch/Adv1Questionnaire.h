#pragma once

namespace pv {

class BatchDriver;
class FormTables;
class RecordLayout;

// The questionnaire АДВ-1 ("АНКТ"): one TableAnk row per questionnaire line.
class Adv1Questionnaire {
public:
    Adv1Questionnaire(FormTables& tables, BatchDriver& driver) : tables_(tables), driver_(driver) {}

    // The 28 fields of a questionnaire line and their columns.
    static const RecordLayout& layout();

    // Reads the rest of the batch file and ends the run.
    void ADV1();

private:
    FormTables& tables_;
    BatchDriver& driver_;
};

} // namespace pv
