#pragma once

// Numbers of the message table's texts of the rule and object tables, their
// windows and the unit picker.
enum Table_Message : int {
    // The row buttons and the overwrite of a file.
    Msg_Row_Overwrite = 1100,     // a question
    Msg_Paste_Wrong_Shape = 1101, // the copied row is not one of this table
    Msg_Paste_Nothing_Copied = 1102,
    Msg_File_Overwrite = 1103,    // a question
    Msg_Delete_Row_Number = 1560, // a question, followed by the row's number

    // The LoRaWAN rule window. Its buttons OK, Cancel, Delete Row, Insert
    // Row, Copy Row and Paste Row take their captions in this order from
    // the first, and their tips likewise.
    Msg_LoRa_Access_Title = 1200,
    Msg_LoRa_Access_Description = 1201,
    Msg_LoRa_Access_First_Button = 1202,
    Msg_LoRa_Access_First_Button_Hint = 1208,
    Msg_LoRa_Uplink = 1214, // the tables' names
    Msg_LoRa_Downlink = 1215,
    Msg_Uplink_Number_Title = 1216,
    Msg_Uplink_Enable = 1217,
    Msg_Uplink_Start_Byte = 1218,
    Msg_Uplink_Num_Byte = 1219,
    Msg_Uplink_On_Change = 1220,
    Msg_Uplink_On_CMD = 1221,
    Msg_Uplink_On_Timer = 1222,
    Msg_Uplink_Time = 1223,
    Msg_Uplink_Mnemonic = 1224,
    Msg_Uplink_Enable_Hint = 1225,
    Msg_Uplink_Start_Byte_Hint = 1226,
    Msg_Uplink_Num_Byte_Hint = 1227,
    Msg_Uplink_On_Change_Hint = 1228,
    Msg_Uplink_On_CMD_Hint = 1229,
    Msg_Uplink_On_Timer_Hint = 1230,
    Msg_Uplink_Time_Hint = 1231,
    Msg_Uplink_Mnemonic_Hint = 1232,
    Msg_Downlink_Number_Title = 1233,
    Msg_Downlink_Enable = 1234,
    Msg_Downlink_Start_Byte = 1235,
    Msg_Downlink_Num_Byte = 1236,
    Msg_Downlink_Mnemonic = 1237,
    Msg_Downlink_Enable_Hint = 1238,
    Msg_Downlink_Start_Byte_Hint = 1239,
    Msg_Downlink_Num_Byte_Hint = 1240,
    Msg_Downlink_Mnemonic_Hint = 1241,
    Msg_Payload_Size_Not_Set = 1242,
    // The rules' failures: "Error row ", the row, then the rule's text.
    Msg_Rule_Error_Row = 1243,
    Msg_Uplink_Start_Byte_Range = 1244,
    Msg_Uplink_Num_Byte_Range = 1245, // followed by the limit
    Msg_Uplink_Time_Range = 1246,
    Msg_Downlink_Start_Byte_Range = 1247,
    Msg_Downlink_Num_Byte_Range = 1248, // followed by the limit

    // The BACnet object window, its buttons as the rule window's.
    Msg_BACnet_Access_Title = 1500,
    Msg_BACnet_Access_Description = 1501,
    Msg_BACnet_Access_First_Button = 1502,
    Msg_BACnet_Access_First_Button_Hint = 1510,
    Msg_BACnet_Read = 1508, // the tables' names
    Msg_BACnet_Write = 1509,
    // The column headers of each table: Data Type, then Eng. Unit, Position,
    // Start Bit, Length, Swap and Mnemonic.
    Msg_Read_Number_Title = 1516,
    Msg_Read_Data_Type = 1517,
    Msg_Write_Number_Title = 1524,
    Msg_Write_Data_Type = 1525,
    // The objects' failures: "Error row ", the row, then the rule's text.
    // The Length and Start Bit rules are the object catalogue's.
    Msg_Object_Error_Row = 1532,
    Msg_Read_Eng_Unit_Range = 1533,
    Msg_Read_Position_Range = 1534, // followed by the last byte
    Msg_Read_Too_Many_Bytes = 1546,
    Msg_Write_Eng_Unit_Range = 1547,
    Msg_Write_Position_Range = 1548, // followed by the last byte
    Msg_Write_Too_Many_Bytes = 1558,
    Msg_Too_Many_Objects = 1559,        // followed by the limit
    Msg_Object_Type_Not_Offered = 1561, // table, data type (after "Error row " and the row)

    // The unit picker.
    Msg_Unit_Picker_Title = 1600,
    Msg_Unit_Picker_Description = 1601,
    Msg_Unit_Picker_OK = 1602,
    Msg_Unit_Picker_Cancel = 1603,
    Msg_Unit_Picker_Selected = 1604,
    Msg_Unit_Picker_New = 1605,
    Msg_Unit_Picker_Type = 1606,
    Msg_Unit_Picker_Unit = 1607,
    Msg_Unit_Picker_Select = 1608,

    // The grids' status line: a text typed into a drop-down cell that is
    // none of its items. Column header, the text, the reason (a reason of
    // Msg_Paste_Cell_Refused); the second adds the text the cell keeps.
    Msg_Cell_Refused_Editing = 1710,
    Msg_Cell_Refused_Left = 1711,
    // The parameter window's OK, when the payload chosen leaves a saved
    // uplink rule too long: data bytes, payload, bytes kept, rule, its bytes.
    Msg_Payload_Shrinks = 1780,
};
