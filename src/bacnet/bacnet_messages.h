#pragma once

// Numbers of the message table's texts of the virtual converter and `serve`.
enum BACnet_Message : int {
    Msg_Serve_Serving = 1820,          // device instance, name, address, port
    Msg_Serve_MSTP_Over_IP = 1821,     // device instance
    Msg_Serve_Cannot_Bind = 1822,      // address, port, the system's reason
    Msg_Serve_No_Object_Type = 1823,   // record number
    Msg_Serve_Bad_Address = 1824,      // text given
    Msg_Serve_Bad_Port = 1825,         // text given
    Msg_Serve_Stopped = 1826,          // signal number
    Msg_Serve_Traffic = 1827,          // who, what, answer
    Msg_Serve_Not_Input = 1828,        // object
    Msg_Serve_Raw_Out_Of_Range = 1829, // value, object
    Msg_Serve_Warning = 1830,          // warning text
    Msg_Serve_No_Object = 1831,        // index
};
