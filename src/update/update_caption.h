#pragma once

#include <QString>

// The update button's caption, naming what the chosen update option loads:
// 0 firmware and configuration, 1 firmware, 2 configuration. Any other
// option (the list being refilled) gives the general caption, Msg_Update_Button.
QString Update_Button_Caption(int option);
