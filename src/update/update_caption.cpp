#include "update/update_caption.h"

#include "core/messages.h"
#include "update/update_messages.h"

QString Update_Button_Caption(int option)
{
    switch (option) {
    case 0:
        return Messages().Get(Msg_Caption_Firmware_And_Configuration);
    case 1:
        return Messages().Get(Msg_Caption_Firmware);
    case 2:
        return Messages().Get(Msg_Caption_Configuration);
    default:
        return Messages().Get(Msg_Update_Button);
    }
}
