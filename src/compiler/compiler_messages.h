#pragma once

// Numbers of the message table's texts of the compiler's checks.
enum Compiler_Message : int {
    Msg_Num_Byte_Over_Payload = 30, // a rule's bytes do not fit the LoRaWAN payload
};
