#pragma once

// Numbers of the message table's texts of the main window and its dialogs.
enum App_Message : int {
    // The main window.
    Msg_Main_Begin = 0,
    Msg_Main_Step_1 = 1, // the captions of the steps after it follow in order
    Msg_Main_No_Configuration = 9,
    Msg_Main_Use_Step_1 = 10,
    Msg_Main_Configuration_Opened = 11, // the configuration's name shows on the line below
    Msg_Main_Information_Hint = 12,
    Msg_Main_Options_Hint = 13,
    Msg_Main_Close_Hint = 14,
    Msg_Main_New_Configuration = 15,
    Msg_Main_Open_Configuration = 16,
    Msg_Main_Update_Device = 17,
    Msg_Main_New_Version = 19,
    Msg_Main_Set_Communication = 20,
    Msg_Main_Set_LoRaWAN_Access = 21,
    Msg_Main_New_Configuration_Hint = 22,
    Msg_Main_Open_Configuration_Hint = 23,
    Msg_Main_Set_Communication_Hint = 24,
    Msg_Main_Set_LoRaWAN_Access_Hint = 25,
    Msg_Main_Update_Device_Hint = 26,
    Msg_Main_Set_BACnet_Access = 27,
    Msg_Main_Set_BACnet_Access_Hint = 28,
    // New Configuration.
    Msg_New_Project_Title = 100,
    Msg_New_Project_Description = 101,
    Msg_New_Project_Name_Label = 102,
    Msg_New_Project_OK = 103,
    Msg_New_Project_Cancel = 104,
    Msg_New_Project_Name_Hint = 108,
    Msg_New_Project_OK_Hint = 109,
    Msg_New_Project_Cancel_Hint = 110,
    // Open Configuration.
    Msg_Open_Project_Title = 200,
    Msg_Open_Project_Description = 201,
    Msg_Open_Project_List_Label = 202,
    Msg_Open_Project_OK = 203,
    Msg_Open_Project_Cancel = 204,
    Msg_Open_Project_List_Hint = 205,
    Msg_Open_Project_OK_Hint = 206,
    Msg_Open_Project_Cancel_Hint = 207,
    // Software Options.
    Msg_Options_Title = 300,
    Msg_Options_Description = 301,
    Msg_Options_Language_Tab = 302,
    Msg_Options_Connection_Tab = 303,
    Msg_Options_Selected_Language = 304, // followed by the language
    Msg_Options_Page = 305,              // followed by the page, Msg_Options_Page_Of and the pages
    Msg_Options_Page_Of = 306,
    Msg_Options_Previous = 307,
    Msg_Options_Next = 308,
    Msg_Options_Enable_Internet = 309,
    Msg_Options_Check_At_Start = 310,
    Msg_Options_Check_Update = 311,
    Msg_Options_OK = 312,
    Msg_Options_Cancel = 313,
    Msg_Options_New_Version = 314,
    Msg_Options_No_Update = 315,
    // The question before the language changes, in pieces: the first, the
    // language in use, _To, the language picked, _End.
    Msg_Options_Change_Language = 316,
    Msg_Options_Change_Language_To = 317,
    Msg_Options_Change_Language_End = 318,
    Msg_Options_Settings_Tab = 319,
    Msg_Options_Enter_Jumps_Field = 320,
    Msg_Options_Double_Click_Auto_Size = 321,
};
