#pragma once
// One page of a settings editor, drawn and read from the list of settings (settings_list.h).

#include "shell/settings.h"

namespace sklad {

// Pads the character settings of `page` to their widths, as their entry fields need.
void WYROWNAJ_PARAMETRY(SettingPage page);
// Shows the prompts and reads the fields of `page`; Esc keeps what was typed before it. The field
// checks compare with `at_start` where a change needs the supervisor's password.
void EDYTUJ_STRONE(SettingPage page, const StanParametrow& at_start);
// The field check of one setting; false keeps the cursor in the field.
bool SPRAWDZ_PARAMETR(const SettingDef& d, const StanParametrow& at_start);

}  // namespace sklad
