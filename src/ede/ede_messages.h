#pragma once

// Numbers of the message table's texts of the EDE export that the shared
// header does not name.
enum EDE_Message : int {
    Msg_EDE_Cell_Runs_As_Formula = 1194, // row (from 1), table, attribute
};
