#include "params/pargen_typing.h"

#include "params/pargen_form.h"

#include <algorithm>
#include <array>

namespace {

using K = ParGen_Key;

constexpr std::array Ethernet_Chain = {
    K::Ethernet_IP1,  K::Ethernet_IP2,  K::Ethernet_IP3,  K::Ethernet_IP4,  K::Ethernet_SM1,  K::Ethernet_SM2,
    K::Ethernet_SM3,  K::Ethernet_SM4,  K::Ethernet_GAT1, K::Ethernet_GAT2, K::Ethernet_GAT3, K::Ethernet_GAT4,
    K::Ethernet_DNS1, K::Ethernet_DNS2, K::Ethernet_DNS3, K::Ethernet_DNS4,
};
constexpr std::array BACnet_Chain = {
    K::BACnet_IP1, K::BACnet_IP2, K::BACnet_IP3,  K::BACnet_IP4,  K::BACnet_SM1,  K::BACnet_SM2,
    K::BACnet_SM3, K::BACnet_SM4, K::BACnet_GAT1, K::BACnet_GAT2, K::BACnet_GAT3, K::BACnet_GAT4,
};

template <size_t N> bool Next_In(const std::array<K, N> &chain, K key, K *next)
{
    const auto it = std::find(chain.begin(), chain.end(), key);
    if (it == chain.end() || it + 1 == chain.end())
        return false;
    *next = *(it + 1);
    return true;
}

// The characters of an insertion that the field takes.
QString Filter(const Typing_Rule &rule, QStringView inserted)
{
    QString kept;
    for (QChar c : inserted) {
        if (rule.Hex) {
            QChar entered;
            // The key filter lets the control keys through, but of those only
            // the blank puts a character into the field.
            if ((c.unicode() > 32 || c == u' ') && Hex_Key_Filter(c, &entered))
                kept += entered;
            continue;
        }
        kept += c;
    }
    if (rule.Case == Letter_Case::Upper)
        return kept.toUpper();
    if (rule.Case == Letter_Case::Lower)
        return kept.toLower();
    return kept;
}

} // namespace

Typing_Rule Typing_Rule_Of(ParGen_Key key)
{
    switch (key) {
    case K::LoRa_Device_Address:
        return {8, Letter_Case::Upper, true};
    case K::LoRa_Application_Identifier:
        return {16, Letter_Case::Upper, true};
    case K::LoRa_Network_Session_Key:
    case K::LoRa_Application_Session_Key:
    case K::LoRa_Application_Key:
        return {32, Letter_Case::Upper, true};
    case K::BACnet_NAME_STA:
    case K::BACnet_Ser_NAME_STA:
    case K::BACnet_Ser_Max_Master:
    case K::BACnet_Ser_DEV_IDE:
        return {15, Letter_Case::Lower, false};
    default:
        return {};
    }
}

Typed_Text Apply_Typing(const Typing_Rule &rule, const QString &before, const QString &after, int cursor)
{
    cursor = std::clamp(cursor, 0, int(after.size()));
    // The edit replaced before[prefix, before.size() - suffix) with
    // after[prefix, cursor). The cursor marks the end of the insertion, so a
    // letter typed in front of an equal letter is found where it was typed.
    qsizetype suffix = after.size() - cursor;
    if (suffix > before.size() || QStringView(after).sliced(cursor) != QStringView(before).last(suffix)) {
        // Not an insertion ending at the cursor (an undo, say): take the
        // longest common ends instead.
        suffix = 0;
        while (suffix < before.size() && suffix < after.size() &&
               before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
            ++suffix;
        cursor = int(after.size() - suffix);
    }
    qsizetype prefix = 0;
    const qsizetype prefix_max = std::min<qsizetype>(cursor, before.size() - suffix);
    while (prefix < prefix_max && before[prefix] == after[prefix])
        ++prefix;

    const qsizetype removed = before.size() - suffix - prefix;
    QString inserted = Filter(rule, QStringView(after).sliced(prefix, cursor - prefix));
    if (rule.Max_Length >= 0) {
        const qsizetype room = std::max<qsizetype>(0, rule.Max_Length - (before.size() - removed));
        inserted.truncate(room);
    }
    Typed_Text typed;
    typed.Text = before.left(prefix) + inserted + before.mid(prefix + removed);
    typed.Cursor = int(prefix + inserted.size());
    return typed;
}

bool Is_Dotted_Field(ParGen_Key key)
{
    return std::find(Ethernet_Chain.begin(), Ethernet_Chain.end(), key) != Ethernet_Chain.end() ||
           std::find(BACnet_Chain.begin(), BACnet_Chain.end(), key) != BACnet_Chain.end();
}

bool Next_Dotted_Field(ParGen_Key key, ParGen_Key *next)
{
    return Next_In(Ethernet_Chain, key, next) || Next_In(BACnet_Chain, key, next);
}
