#include "program/SignaturesPresenter.h"

#include "program/SettingsKeys.h"
#include "program/SettingsFile.h"
#include "platform/CodePage.h"
#include "platform/Ui.h"

namespace pv {
namespace {

// The lone "c" before "копейками" and "АДВ-1,2,3" in these captions is Latin.
std::string kopecksOffCaption() {
    return ru("АДВ-11 без копеек");
}
std::string kopecksOnCaption() {
    return ru("АДВ-11 c копейками");
}
std::string withoutListCaption() {
    return ru("Без списка ЗЛ в пачках c АДВ-1,2,3");
}
std::string withListCaption() {
    return ru("Со списком ЗЛ в пачках c АДВ-1,2,3");
}

std::string joinLines(std::initializer_list<const char*> lines) {
    std::string out;
    bool first = true;
    for (const char* line : lines) {
        if (!first) out += "\r\n";
        first = false;
        out += ru(line);
    }
    return out;
}

} // namespace

const std::array<SignaturesPresenter::EditControl, 7>& SignaturesPresenter::edits() {
    static const std::array<EditControl, 7> controls{{
        {"DolRukEdit", "Должность руководителя", 60},
        {"FIORukEdit", "Фамилия И.О. руководителя", 60},
        {"FIOBugEdit", "Фамилия И.О.\n главного бухгалтера", 0},
        {"DolIspEdit", "Должность исполнителя", 60},
        {"FIOIspEdit", "Фамилия И.О.исполнителя", 60},
        {"OKPOEdit", "ОКПО", 12},
        {"OKOHXEdit", "ОКОНХ", 12},
    }};
    return controls;
}

std::string SignaturesPresenter::caption() {
    return ru("Установки по умолчанию");
}
std::string SignaturesPresenter::exitCaption() {
    return ru("Запомнить");
}

SignaturesPresenter::SignaturesPresenter(DriverContext& context, Ui& ui,
                               std::function<std::string()> lastRegionChoice)
    : context_(context), ui_(ui), lastRegionChoice_(std::move(lastRegionChoice)),
      boxKopCaption_(kopecksOffCaption()), boxSpisADVCaption_(withoutListCaption()) {}

void SignaturesPresenter::FormActivate() {
    {
        TAbIniFile ini(settingsFilePath(context_.ProgramDir));
        for (int i = 0; i < kEnterpriseKeys; ++i)
            edits_[i] = ini.ReadString(settingKeys()[i].section, settingKeys()[i].key, "");
        ini.Release();
    }
    setBoxKop(!switchedOff(context_.settings.kopecks));
    boxKopCaption_ = boxKop_ ? kopecksOffCaption() : kopecksOnCaption();
    setBoxSpisADV(!switchedOff(context_.settings.personList));
    boxSpisADVCaption_ = boxSpisADV_ ? withoutListCaption() : withListCaption();
}

void SignaturesPresenter::setBoxKop(bool checked) {
    if (checked == boxKop_) return;
    boxKop_ = checked;
    BoxKopClick();
}

void SignaturesPresenter::setBoxSpisADV(bool checked) {
    if (checked == boxSpisADV_) return;
    boxSpisADV_ = checked;
    BoxSpisADVClick();
}

void SignaturesPresenter::BoxKopClick() {
    boxKopCaption_ = ru("АДВ-11");
    if (captionsChanged) captionsChanged();
    if (boxKop_) {
        boxKopCaption_ = kopecksOffCaption();
        return;
    }
    const std::string question = joinLines(
        {"Заполнение АДВ-11 с копейками противоречит ", "Постановлению ПФР от 21.10.2002г  №122п",
         " \"О формах документов ПУ в системе ОПС\" ", "пункт 47 Правила заполнения АДВ-11.", "",
         "Вы действительно хотите АДВ-11 с копейками?"});
    if (ui_.messageBox(question, ru("Информация"), MsgIcon::Information, MsgButtons::YesNo) ==
        MsgResult::Yes) {
        ui_.messageBox(ru("Я Вас предупредил.  АДВ-11 с копейками. "), programName(), MsgIcon::None,
                       MsgButtons::Ok);
        boxKopCaption_ = kopecksOnCaption();
    } else {
        boxKopCaption_ = kopecksOffCaption();
        setBoxKop(true);
    }
}

void SignaturesPresenter::BoxSpisADVClick() {
    boxSpisADVCaption_ = ru("Список");
    if (captionsChanged) captionsChanged();
    if (boxSpisADV_) {
        boxSpisADVCaption_ = withoutListCaption();
        return;
    }
    const std::string notice = joinLines(
        {"Список застрахованных лиц для пачек форм документов",
         "персонифицированного учета  АДВ-1(Анкета) ", "АДВ-2(Обмен) и АДВ-3(Дубликат) не нужен.",
         "Он необходим при входном контроле в ПФР файл-пачек", "этих документов."});
    if (ui_.messageBox(notice, ru("Информация"), MsgIcon::Information, MsgButtons::YesNo) ==
        MsgResult::Yes) {
        // The lone "c" before "АДВ-1,2,3" is Latin, as in the box's captions.
        ui_.messageBox(ru("Я Вас предупредил. Со списком ЗЛ в пачках c АДВ-1,2,3"), programName(),
                       MsgIcon::None, MsgButtons::Ok);
        boxSpisADVCaption_ = withListCaption();
    } else {
        boxSpisADVCaption_ = withoutListCaption();
        setBoxSpisADV(true);
    }
}

bool SignaturesPresenter::ExitButtonClick() {
    if (ui_.messageBox(ru("Запомнить изменения"), ru("Подтверждение"), MsgIcon::Question,
                       MsgButtons::YesNo) == MsgResult::Yes) {
        const auto& keys = settingKeys();
        TAbIniFile ini(settingsFilePath(context_.ProgramDir));
        for (int i = 0; i < kEnterpriseKeys; ++i)
            ini.WriteString(keys[i].section, keys[i].key, edits_[i]);
        ini.WriteString(keys[kRegionCheck].section, keys[kRegionCheck].key, yesValue());
        ini.WriteString(keys[kKopecks].section, keys[kKopecks].key,
                        boxKop_ ? yesValue() : noValue());
        ini.WriteString(keys[kPersonList].section, keys[kPersonList].key,
                        boxSpisADV_ ? yesValue() : noValue());
        ini.Release();
    }
    return true;
}

void SignaturesPresenter::FormClose() {
    const auto& keys = settingKeys();
    TAbIniFile ini(settingsFilePath(context_.ProgramDir));
    for (int i = 0; i < int(keys.size()); ++i) {
        std::string fallback;
        if (i == kFIOBug) fallback = edits_[kFIOBug];
        if (i == kRegionCheck && lastRegionChoice_) fallback = lastRegionChoice_();
        context_.settings.*keys[i].value = ini.ReadString(keys[i].section, keys[i].key, fallback);
    }
    ini.Release();
}

} // namespace pv
