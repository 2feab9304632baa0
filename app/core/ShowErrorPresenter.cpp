#include "app/core/ShowErrorPresenter.h"

#include "app/core/SettingsKeys.h"
#include "app/core/TAbIniFile.h"
#include "platform/CodePage.h"
#include "platform/Ui.h"

namespace pv {

ShowErrorPresenter::ShowErrorPresenter(DriverContext& context, Ui& ui)
    : context_(context), ui_(ui) {}

std::string ShowErrorPresenter::caption() {
    return ru("Внимание !!! Предупреждение");
}
std::string ShowErrorPresenter::okCaption() {
    return ru("&Игнорировать  ");
}
std::string ShowErrorPresenter::noCaption() {
    return ru("&Выход");
}
std::string ShowErrorPresenter::boxCaption() {
    return ru("Не показывать это предупреждение   ");
}

void ShowErrorPresenter::FormActivate(const std::string& regNom) {
    number_ = regNom;
    const SettingKey& k = settingKeys()[kRegionCheck];
    {
        TAbIniFile ini(settingsFilePath(context_.ProgramDir));
        context_.settings.regionCheck = ini.ReadString(k.section, k.key, lastChoice_);
        ini.Release();
    }
    if (switchedOff(context_.settings.regionCheck)) setBoxChecked(true);
}

void ShowErrorPresenter::setBoxChecked(bool checked) {
    if (checked == boxChecked_) return;
    boxChecked_ = checked;
    CheckBoxDistClick();
}

void ShowErrorPresenter::CheckBoxDistClick() {
    const std::string text = ru("Это сообщение можно отключить, но после") + "\r\n" +
                             ru("заполнении \"Установок по умолчанию\" ") + "\r\n" +
                             ru("Вам будет предложено подтвердить или ") + "\r\n" +
                             ru("оставить от этого предупреждения.");
    ui_.messageBox(text, ru("Информация!"), MsgIcon::Information, MsgButtons::Ok);
}

void ShowErrorPresenter::FormClose() {
    lastChoice_ = boxChecked_ ? noValue() : yesValue();
    const SettingKey& k = settingKeys()[kRegionCheck];
    TAbIniFile ini(settingsFilePath(context_.ProgramDir));
    ini.WriteString(k.section, k.key, lastChoice_);
    ini.Release();
    context_.settings.regionCheck = lastChoice_;
}

} // namespace pv
