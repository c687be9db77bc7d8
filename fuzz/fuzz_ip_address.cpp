// Split_IP_Address: the update window's address boxes and the --ip option.
// An accepted address has four octets from 0 to 255, gives the same number
// to the echo client, and reads back the same once joined; a refused one
// never reaches the echo client.

#include "core/int_read.h"
#include "fuzz_support.h"
#include "update/ip_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzz::Bytes(data, size));
    IP_Octets octets;
    const bool ok = Split_IP_Address(text, &octets);
    quint32 address = 0;
    const bool number_ok = IPv4_From_Text(text, &address);
    FUZZ_CHECK(ok == number_ok, "\"%s\": split %d, number %d", qPrintable(text), int(ok), int(number_ok));
    if (!ok)
        return 0;

    quint32 expected = 0;
    for (const QString &octet : octets) {
        const int value = Str_To_Int_Def(octet, -1);
        FUZZ_CHECK(value >= 0 && value <= 255, "\"%s\": octet \"%s\"", qPrintable(text), qPrintable(octet));
        expected = (expected << 8) | quint32(value);
    }
    FUZZ_CHECK(address == expected, "\"%s\": %08x, octets %08x", qPrintable(text), address, expected);

    IP_Octets again;
    const QString joined = Join_IP_Address(octets);
    FUZZ_CHECK(Split_IP_Address(joined, &again) && again == octets, "\"%s\" joined as \"%s\" reads back otherwise",
               qPrintable(text), qPrintable(joined));
    return 0;
}
