#pragma once

// Numbers of the message table's texts of the update window and the ping.
enum Update_Message : int {
    Msg_Update_Title = 1002,
    Msg_Update_Description = 1003,
    Msg_Update_IP_Label = 1006,
    Msg_Update_Options_Label = 1014,
    // The update options, in the order of their index.
    Msg_Option_Firmware_And_Configuration = 1015,
    Msg_Option_Firmware = 1016,
    Msg_Option_Configuration = 1017,
    Msg_Update_Read_Back = 1018,
    Msg_Update_Cancel = 1019,
    Msg_Update_Button = 1020,
    Msg_Update_IP1_Hint = 1021, // the tips of the next three octets follow
    Msg_Update_Options_Hint = 1032,
    Msg_Update_Read_Back_Hint = 1033,
    Msg_Update_Cancel_Hint = 1034,
    Msg_Update_Button_Hint = 1035,
    Msg_Device_Not_Found = 1036,
    Msg_Check_IP_Address = 1037,
    Msg_Update_Locked = 1691,      // address being updated, process, computer
    Msg_Update_Interrupted = 1692, // updater
};
