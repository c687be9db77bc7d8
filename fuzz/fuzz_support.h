#pragma once

// What every fuzz target shares: a scratch folder for the files the readers
// take, a check that turns a broken property into a finding, and a small
// valid configuration for the targets that fuzz one document of three.

#include "core/xml_document.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace fuzz {

// A property that must hold for every input: a violation aborts, which
// libFuzzer records as a finding with the input that caused it.
#define FUZZ_CHECK(condition, ...)                                                                                     \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s\n  ", #condition);                                             \
            std::fprintf(stderr, __VA_ARGS__);                                                                         \
            std::fprintf(stderr, "\n");                                                                                \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

// The folder of this process for the files a reader takes by path: on the
// memory file system when it can be written there, since every input is
// written, else in the temporary folder (a minimal system may have a
// /dev/shm that its user cannot write).
inline const QString &Scratch_Dir()
{
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        QStringList errors;
        for (const QString &folder : {QStringLiteral("/dev/shm"), QDir::tempPath()}) {
            auto made = std::make_unique<QTemporaryDir>(folder + QStringLiteral("/sw52k31-fuzz-XXXXXX"));
            if (made->isValid())
                return made;
            errors << folder + QStringLiteral(": ") + made->errorString();
        }
        std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(errors.join(QStringLiteral("; "))));
        std::abort();
    }();
    static const QString path = dir->path();
    return path;
}

inline QString Scratch(const QString &name)
{
    return Scratch_Dir() + u'/' + name;
}

// Replaces the file `path` with `data` (a plain write: the target reads it
// back at once, nothing else does).
inline void Put_File(const QString &path, const QByteArray &data)
{
    QFile file(path);
    // The folder is made at the first write only: a run writes several files.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        QDir().mkpath(path.section(u'/', 0, -2));
        (void)file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    }
    if (!file.isOpen() || file.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

inline QByteArray Get_File(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray Bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// What the strict reading of a document promises, whatever the input: a
// file without a byte-order mark that declares no encoding is read only
// when it is UTF-8 (as Qt's decoder judges it) without a NUL, and a loaded
// document has no element that gives an attribute twice.
inline void Check_Strict_Reading(const QByteArray &input, Xml_Document &doc)
{
    const bool loaded = doc.Status() == Xml_Document::State::Loaded;
    const bool marked = input.startsWith("\xEF\xBB\xBF") || input.startsWith("\xFF\xFE") ||
                        input.startsWith("\xFE\xFF") || input.startsWith(QByteArray("\0\0\xFE\xFF", 4));
    if (!marked && !input.contains("encoding")) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        (void)utf8.decode(input);
        FUZZ_CHECK(!loaded || (!utf8.hasError() && !input.contains('\0')),
                   "a document that is not UTF-8 and declares no encoding was read");
    }
    if (!loaded)
        return;
    struct Walker : pugi::xml_tree_walker
    {
        std::vector<std::string> names;
        bool for_each(pugi::xml_node &node) override
        {
            names.clear();
            for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
                names.emplace_back(a.name());
            std::sort(names.begin(), names.end());
            const auto twice = std::adjacent_find(names.begin(), names.end());
            FUZZ_CHECK(twice == names.end(), "the element %s was read with the attribute %s twice", node.name(),
                       twice->c_str());
            return true;
        }
    } walker;
    doc.Doc().traverse(walker);
}

// A parameter document as the parameter window writes it (BACnet/IP, short
// descriptions); `bacnet_type` and `long_names` vary what the EDE export and
// the compiler read from it.
inline QByteArray Valid_ParGen(int bacnet_type = 0, bool long_names = false)
{
    QByteArray doc = "<Par_Gen><LoRa_RF_Band>EU868</LoRa_RF_Band><LoRa_Network_Type>Public</LoRa_Network_Type>"
                     "<LoRa_Adaptive_DataRate>0</LoRa_Adaptive_DataRate>"
                     "<LoRa_DataRate>5 -\tLoRa: SF7/125kHz 5470 [bit/s]</LoRa_DataRate>"
                     "<LoRa_Transmission_Type>Confirmed</LoRa_Transmission_Type>"
                     "<LoRa_Payload_Size>222</LoRa_Payload_Size>"
                     "<LoRa_Activation_Method>Activation by Personalization [ABP]</LoRa_Activation_Method>"
                     "<LoRa_Device_Address>26011B2C</LoRa_Device_Address>"
                     "<LoRa_Application_Identifier>70B3D57ED0000000</LoRa_Application_Identifier>"
                     "<LoRa_Network_Session_Key>00112233445566778899AABBCCDDEEFF</LoRa_Network_Session_Key>"
                     "<LoRa_Application_Session_Key>FFEEDDCCBBAA99887766554433221100</LoRa_Application_Session_Key>"
                     "<LoRa_Application_Key/><Ethernet_IP1>192</Ethernet_IP1><Ethernet_IP2>168</Ethernet_IP2>"
                     "<Ethernet_IP3>0</Ethernet_IP3><Ethernet_IP4>10</Ethernet_IP4><BACnet_Type>";
    doc += QByteArray::number(bacnet_type);
    doc +=
        "</BACnet_Type><BACnet_IP1>10</BACnet_IP1><BACnet_IP2>0</BACnet_IP2><BACnet_IP3>0</BACnet_IP3>"
        "<BACnet_IP4>5</BACnet_IP4><BACnet_SM1>255</BACnet_SM1><BACnet_SM2>255</BACnet_SM2>"
        "<BACnet_SM3>255</BACnet_SM3><BACnet_SM4>0</BACnet_SM4><BACnet_EN_GAT>0</BACnet_EN_GAT>"
        "<BACnet_PORT>47808</BACnet_PORT><BACnet_NAME_STA>plant</BACnet_NAME_STA>"
        "<BACnet_DEV_IDE>77</BACnet_DEV_IDE><BACnet_Ser_Baudrate>1</BACnet_Ser_Baudrate>"
        "<BACnet_Ser_Parity>2</BACnet_Ser_Parity><BACnet_Ser_ID>3</BACnet_Ser_ID>"
        "<BACnet_Ser_Max_Master>127</BACnet_Ser_Max_Master><BACnet_Ser_Max_Info_Frames>1</BACnet_Ser_Max_Info_Frames>"
        "<BACnet_Ser_DEV_IDE>4100</BACnet_Ser_DEV_IDE><BACnet_Ser_Network>2</BACnet_Ser_Network>"
        "<BACnet_Desc_Chars_Limit>";
    doc += long_names ? "1" : "0";
    doc += "</BACnet_Desc_Chars_Limit></Par_Gen><!--SW_VERSION = 1.000-->";
    return doc;
}

inline QByteArray Valid_Rules()
{
    return "<LoRaWAN_Set_Access><LoRaWAN_Uplink>"
           "<row Enable=\"Y\" StartByte=\"0\" NumByte=\"6\" OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"600\" "
           "Mnemonic=\"temperatures\"/>"
           "<row Enable=\"N\" StartByte=\"6\" NumByte=\"2\" OnChange=\"N\" OnCMD=\"Y\" OnTimer=\"N\" Time=\"0\" "
           "Mnemonic=\"\"/></LoRaWAN_Uplink><LoRaWAN_Downlink>"
           "<row Enable=\"Y\" StartByte=\"10\" NumByte=\"4\" Mnemonic=\"set points\"/>"
           "</LoRaWAN_Downlink></LoRaWAN_Set_Access><!--SW_VERSION = 1.000-->";
}

inline QByteArray Valid_Objects()
{
    return "<BACnet_to_Modbus><BACnet_in_Read>"
           "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" Swap=\"N\" "
           "Mnemonic=\"Supply air temperature\"/>"
           "<row Data_Type=\"Binary Input\" Eng_Unit=\"95\" Position=\"4\" Bit=\"3\" Length=\"1\" Swap=\"N\" "
           "Mnemonic=\"Fan running\"/></BACnet_in_Read><BACnet_in_Write>"
           "<row Data_Type=\"Analog Out\" Eng_Unit=\"98\" Position=\"0\" Bit=\"\" Length=\"2\" Swap=\"Y\" "
           "Mnemonic=\"Valve\"/>"
           "<row Data_Type=\"Multi State Value\" Eng_Unit=\"95\" Position=\"2\" Bit=\"\" Length=\"2\" Swap=\"N\" "
           "Mnemonic=\"Mode\"/></BACnet_in_Write></BACnet_to_Modbus><!--SW_VERSION = 1.000-->";
}

} // namespace fuzz
