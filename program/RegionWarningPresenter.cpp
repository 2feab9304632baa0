#include "program/RegionWarningPresenter.h"

#include "program/SettingsKeys.h"
#include "program/SettingsFile.h"
#include "platform/CodePage.h"
#include "platform/Ui.h"

namespace pv {

RegionWarningPresenter::RegionWarningPresenter(DriverContext& context, Ui& ui)
    : context_(context), ui_(ui) {}

std::string RegionWarningPresenter::caption() {
    return ru("Внимание !!! Предупреждение");
}
std::string RegionWarningPresenter::okCaption() {
    return ru("&Игнорировать  ");
}
std::string RegionWarningPresenter::noCaption() {
    return ru("&Выход");
}
std::string RegionWarningPresenter::boxCaption() {
    return ru("Не показывать это предупреждение   ");
}

void RegionWarningPresenter::FormActivate(const std::string& regNom) {
    number_ = regNom;
    const SettingKey& k = settingKeys()[kRegionCheck];
    {
        TAbIniFile ini(settingsFilePath(context_.ProgramDir));
        context_.settings.regionCheck = ini.ReadString(k.section, k.key, lastChoice_);
        ini.Release();
    }
    if (switchedOff(context_.settings.regionCheck)) setBoxChecked(true);
}

void RegionWarningPresenter::setBoxChecked(bool checked) {
    if (checked == boxChecked_) return;
    boxChecked_ = checked;
    CheckBoxDistClick();
}

void RegionWarningPresenter::CheckBoxDistClick() {
    const std::string text = ru("Это сообщение можно отключить, но после") + "\r\n" +
                             ru("заполнении \"Установок по умолчанию\" ") + "\r\n" +
                             ru("Вам будет предложено подтвердить или ") + "\r\n" +
                             ru("оставить от этого предупреждения.");
    ui_.messageBox(text, ru("Информация!"), MsgIcon::Information, MsgButtons::Ok);
}

void RegionWarningPresenter::FormClose() {
    lastChoice_ = boxChecked_ ? noValue() : yesValue();
    const SettingKey& k = settingKeys()[kRegionCheck];
    TAbIniFile ini(settingsFilePath(context_.ProgramDir));
    ini.WriteString(k.section, k.key, lastChoice_);
    ini.Release();
    context_.settings.regionCheck = lastChoice_;
}

} // namespace pv
