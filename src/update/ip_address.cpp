#include "update/ip_address.h"

#include "core/int_read.h"
#include "core/text.h"

namespace {

// A text that is not a number reads as 1000, which no octet range accepts.
constexpr int Not_A_Number = 1000;

} // namespace

bool Split_IP_Address(const QString &text, IP_Octets *octets)
{
    IP_Octets parts;
    QString rest = Trim_Controls(text).toString();
    bool split = true;
    for (int i = 0; i < 3 && split; ++i) {
        const qsizetype dot = rest.indexOf(u'.');
        if (dot < 0) {
            split = false;
            break;
        }
        parts[i] = Trim_Controls(QStringView(rest).left(dot)).toString();
        rest = rest.mid(dot + 1);
    }
    if (split)
        parts[3] = Trim_Controls(rest).toString();
    if (octets)
        *octets = parts;
    if (!split)
        return false;
    for (const QString &part : parts) {
        const int value = Str_To_Int_Def(part, Not_A_Number);
        if (value < 0 || value > 255)
            return false;
    }
    return true;
}

std::optional<IP_Octets> Pasted_Address(const QString &text)
{
    IP_Octets octets;
    if (!Split_IP_Address(text, &octets))
        return std::nullopt;
    for (QString &octet : octets)
        octet = QString::number(Str_To_Int_Def(octet, 0));
    return octets;
}

QString Join_IP_Address(const IP_Octets &octets)
{
    return octets[0] + u'.' + octets[1] + u'.' + octets[2] + u'.' + octets[3];
}

bool IPv4_From_Text(const QString &text, quint32 *address)
{
    IP_Octets parts;
    if (!Split_IP_Address(text, &parts))
        return false;
    quint32 value = 0;
    for (const QString &part : parts)
        value = (value << 8) | quint32(Str_To_Int_Def(part, 0));
    *address = value;
    return true;
}
