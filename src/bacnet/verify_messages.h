#pragma once

// Numbers of the message table's texts of `verify` and the update window's
// verification over BACnet/IP.
enum Verify_Message : int {
    Msg_Verify_Against_Configuration = 1940, // configuration
    Msg_Verify_Against_Sent = 1941,          // address, folder, configuration
    Msg_Verify_MSTP = 1942,                  // configuration
    Msg_Verify_No_Answer = 1943,             // address, port, seconds
    Msg_Verify_Stopped_Answering = 1944,     // address, port, what
    Msg_Verify_Other_Device = 1945,          // address, port, instance found, instance configured
    Msg_Verify_Garbage = 1946,               // address, port, what
    Msg_Verify_Refused = 1947,               // address, port, what
    Msg_Verify_No_Socket = 1948,             // the system's reason
    Msg_Verify_Cancelled = 1949,
    Msg_Verify_Bad_Port = 1950,    // text given
    Msg_Verify_Bad_Timeout = 1951, // text given
    Msg_Verify_Needs_Address = 1952,
    Msg_Verify_Sent_Unreadable = 1953,
    Msg_Verify_Button = 1954,        // the update window's button
    Msg_Verify_Automatically = 1955, // its option
    Msg_Verify_Waiting = 1956,       // address, seconds
    Msg_Verify_Reading = 1957,       // objects read, objects
    Msg_Verify_Agrees = 1958,        // address
    Msg_Verify_Differs = 1959,       // address, differences
    Msg_Verify_Title = 1960,
};
