#pragma once

#include "core/result.h"
#include "params/pargen_values.h"

#include <QString>

class ParGen_Form;

// The outcome of the parameter validation: Ok, or the first failing rule's
// text as the error box shows it (Problem) with the number of its message.
class [[nodiscard]] ParGen_Check : public Result<>
{
public:
    ParGen_Check() = default;
    ParGen_Check(int message, QString text)
        : Result<>(Fail(std::move(text)))
        , message_(message)
    {}

    // The failing rule's message number; 0 when Ok.
    int Message() const { return message_; }

private:
    int message_ = 0;
};

// The validation run before ParGen.xml is written. The rules run in a fixed
// order and the first one that fails ends the run: the LoRaWAN choices and
// payload size, the keys of the activation method in use, the Ethernet
// addresses and ports (gateway and name server only with their box on), then
// the BACnet/IP keys when `bacnet_type` is 0 and the MS/TP keys otherwise
// (no type chosen counts as MS/TP). Flags are on for exactly "1".
ParGen_Check Controllo_Dati(const ParGen_Values &values, int bacnet_type);

// The same, on the window's state.
ParGen_Check Controllo_Dati(const ParGen_Form &form);

// True when some character of a BACnet device name is not an ASCII digit or
// letter. An empty name is valid.
bool Invalid_Device_Name(QStringView name);
