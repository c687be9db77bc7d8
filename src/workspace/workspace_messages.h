#pragma once

// Numbers of the message table's texts about configurations and their names.
enum Workspace_Message : int {
    Msg_Project_Not_Valid = 18,       // no configuration open, or its folder gone
    Msg_Project_Name_Not_Valid = 105, // also when the name cannot be made into a folder
    Msg_Project_Name_Folder_Exists = 106,
    Msg_Project_Name_Empty = 107, // its text says only that the name is not valid
    // Another program changes the configuration: configuration, application,
    // process, computer, seconds waited.
    Msg_Configuration_Locked = 1690,
    // A window's OK over a document changed elsewhere since the window read it.
    Msg_Document_Changed_Elsewhere = 1693, // file
    Msg_Document_Overwrite = 1694,         // the answers
    Msg_Document_Reload = 1695,
};
