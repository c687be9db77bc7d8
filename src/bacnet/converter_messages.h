#pragma once

// Numbers of the message table's texts of the Virtual Converter window and
// its session (the served device's own texts are in bacnet_messages.h).
enum Converter_Message : int {
    Msg_VC_Title = 1900,
    Msg_VC_Description = 1901,
    Msg_VC_Start = 1902,
    Msg_VC_Stop = 1903,
    Msg_VC_Address = 1904,
    Msg_VC_Port = 1905,
    Msg_VC_Not_Serving = 1906,
    Msg_VC_Input_Area = 1907,
    Msg_VC_Output_Area = 1908,
    Msg_VC_Column_Type = 1909, // to Msg_VC_Column_Type + 6: type, instance, name, units, place, raw, present value
    Msg_VC_Traffic = 1916,
    Msg_VC_Value_Rule = 1917,
    Msg_VC_Not_A_Number = 1918, // text typed
    Msg_VC_Restart = 1919,
    Msg_VC_Close = 1920,
    Msg_VC_Value_Rule_Title = 1921,
    Msg_VC_Raw_Hint = 1922,
    Msg_VC_Start_Hint = 1923,
    Msg_VC_Stop_Hint = 1924,
    Msg_VC_Open = 1925, // the main window's button
    Msg_VC_Open_Hint = 1926,
    Msg_VC_Not_Served = 1927, // the gate's refusal follows
    Msg_VC_Warnings = 1928,
};
