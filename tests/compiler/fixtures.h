#pragma once

// Small configurations for the compiler's suites, written as the windows
// write them (every key or attribute, in the owner's order), and a reading of
// image bytes that does not share code with the compiler.

#include "compiler/compile_project.h"
#include "core/xml_document.h"
#include "test_support.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace fixture {

using Keys = QList<QPair<QString, QString>>;

// The 58 keys of a parameter document saved by the parameter window with its
// defaults (data rate: the AS923 item numbered 6, payload 230).
inline Keys Window_ParGen()
{
    const char *const pairs[][2] = {
        {"LoRa_RF_Band", "AS923"},
        {"LoRa_Network_Type", "Private"},
        {"LoRa_Adaptive_DataRate", "0"},
        {"LoRa_DataRate", "6\t- LoRa: SF7/250kHz 11000 [bit/s]"},
        {"LoRa_Transmission_Type", "Unconfirmed"},
        {"LoRa_Payload_Size", "230"},
        {"LoRa_Activation_Method", "Activation by Personalization [ABP]"},
        {"LoRa_Device_Address", ""},
        {"LoRa_Application_Identifier", ""},
        {"LoRa_Network_Session_Key", ""},
        {"LoRa_Application_Session_Key", ""},
        {"LoRa_Application_Key", ""},
        {"Ethernet_IP1", "192"},
        {"Ethernet_IP2", "168"},
        {"Ethernet_IP3", "0"},
        {"Ethernet_IP4", "10"},
        {"Ethernet_SM1", "255"},
        {"Ethernet_SM2", "255"},
        {"Ethernet_SM3", "255"},
        {"Ethernet_SM4", "0"},
        {"Ethernet_GAT1", "192"},
        {"Ethernet_GAT2", "168"},
        {"Ethernet_GAT3", "0"},
        {"Ethernet_GAT4", "1"},
        {"Ethernet_EN_GAT", "0"},
        {"Ethernet_DNS1", "8"},
        {"Ethernet_DNS2", "8"},
        {"Ethernet_DNS3", "8"},
        {"Ethernet_DNS4", "8"},
        {"Ethernet_EN_DNS", "0"},
        {"Ethernet_TCP_Port", "10001"},
        {"Ethernet_UDP_Port", "10001"},
        {"BACnet_Type", "0"},
        {"BACnet_IP1", "192"},
        {"BACnet_IP2", "168"},
        {"BACnet_IP3", "0"},
        {"BACnet_IP4", "5"},
        {"BACnet_SM1", "255"},
        {"BACnet_SM2", "255"},
        {"BACnet_SM3", "255"},
        {"BACnet_SM4", "0"},
        {"BACnet_GAT1", "192"},
        {"BACnet_GAT2", "168"},
        {"BACnet_GAT3", "0"},
        {"BACnet_GAT4", "1"},
        {"BACnet_EN_GAT", "0"},
        {"BACnet_PORT", "47808"},
        {"BACnet_NAME_STA", "devicename1"},
        {"BACnet_DEV_IDE", "1"},
        {"BACnet_Ser_Baudrate", "3"},
        {"BACnet_Ser_Parity", "0"},
        {"BACnet_Ser_ID", "0"},
        {"BACnet_Ser_NAME_STA", "devicename1"},
        {"BACnet_Ser_Max_Master", "1"},
        {"BACnet_Ser_Max_Info_Frames", "1"},
        {"BACnet_Ser_DEV_IDE", "1"},
        {"BACnet_Ser_Network", "1"},
        {"BACnet_Desc_Chars_Limit", "0"},
    };
    Keys keys;
    for (const auto &p : pairs)
        keys.append({QString::fromUtf8(p[0]), QString::fromUtf8(p[1])});
    return keys;
}

// `keys` with the values of `changes` (a key not in `keys` is appended; a
// value of null QString() removes the key).
inline Keys With(Keys keys, const Keys &changes)
{
    for (const auto &[key, value] : changes) {
        qsizetype at = -1;
        for (qsizetype i = 0; i < keys.size(); ++i)
            if (keys[i].first == key)
                at = i;
        if (value.isNull()) {
            if (at >= 0)
                keys.removeAt(at);
        } else if (at >= 0) {
            keys[at].second = value;
        } else {
            keys.append({key, value});
        }
    }
    return keys;
}

inline void Write_ParGen(const QString &path, const Keys &keys)
{
    Xml_Document doc;
    pugi::xml_node root = doc.Begin("Par_Gen", true);
    for (const auto &[key, value] : keys)
        Add_Key(root, key.toUtf8().constData(), value);
    if (const Result<> saved = doc.Save(path); !saved)
        qFatal("%s", qPrintable(saved.Problem()));
}

// One row: attribute names and values in order.
using Row = QList<QPair<const char *, QString>>;

inline Row Uplink(const QString &enable, const QString &start, const QString &num, const QString &on_change,
                  const QString &on_cmd, const QString &on_timer, const QString &time,
                  const QString &mnemonic = QString())
{
    return {{"Enable", enable}, {"StartByte", start},  {"NumByte", num}, {"OnChange", on_change},
            {"OnCMD", on_cmd},  {"OnTimer", on_timer}, {"Time", time},   {"Mnemonic", mnemonic}};
}

inline Row Downlink(const QString &enable, const QString &start, const QString &num,
                    const QString &mnemonic = QString())
{
    return {{"Enable", enable}, {"StartByte", start}, {"NumByte", num}, {"Mnemonic", mnemonic}};
}

inline Row Object(const QString &type, const QString &unit, const QString &position, const QString &bit,
                  const QString &length, const QString &mnemonic = QString())
{
    return {{"Data_Type", type}, {"Eng_Unit", unit},  {"Position", position}, {"Bit", bit},
            {"Length", length},  {"Swap", QString()}, {"Mnemonic", mnemonic}};
}

// A row document: root, then its groups with their rows.
inline void Write_Rows(const QString &path, const char *root_name, const QList<QPair<const char *, QList<Row>>> &groups)
{
    Xml_Document doc;
    pugi::xml_node root = doc.Begin(root_name, true);
    for (const auto &[name, rows] : groups) {
        pugi::xml_node group = root.append_child(name);
        for (const Row &row : rows) {
            pugi::xml_node node = group.append_child("row");
            for (const auto &[attr, value] : row)
                Add_Attr(node, attr, value);
        }
    }
    if (const Result<> saved = doc.Save(path); !saved)
        qFatal("%s", qPrintable(saved.Problem()));
}

inline void Write_Rules(const QString &path, const QList<Row> &up, const QList<Row> &down = {})
{
    Write_Rows(path, "LoRaWAN_Set_Access", {{"LoRaWAN_Uplink", up}, {"LoRaWAN_Downlink", down}});
}

inline void Write_Objects(const QString &path, const QList<Row> &read, const QList<Row> &write = {})
{
    Write_Rows(path, "BACnet_to_Modbus", {{"BACnet_in_Read", read}, {"BACnet_in_Write", write}});
}

// Little-endian reads of image bytes, independent of the compiler's own.
inline quint32 U8(const QByteArray &b, int at)
{
    return quint8(b.at(at));
}
inline quint32 U16(const QByteArray &b, int at)
{
    return U8(b, at) | (U8(b, at + 1) << 8);
}
inline quint32 U32(const QByteArray &b, int at)
{
    return U16(b, at) | (U16(b, at + 2) << 16);
}
inline QByteArray Bytes(const QByteArray &b, int at, int n)
{
    return b.mid(at, n);
}

// The images of the three documents in `dir`; a failure ends the test run,
// since every caller wrote documents that compile.
inline Bank_Images Compile_Folder(const QString &dir)
{
    const Result<Bank_Images> r =
        Compile_Project(dir + QStringLiteral("/ParGen.xml"), dir + QStringLiteral("/LoRaWAN_SetAccess.xml"),
                        dir + QStringLiteral("/BACnet_Slave_SetAccess.xml"));
    if (!r.Ok())
        qFatal("%s", qPrintable(r.Problem()));
    return r.Value();
}

// The checksum as the converter checks it: bytes 0 to 2043, each 0 to 255,
// summed modulo 2^32. Written apart from the compiler's own.
inline quint32 Own_Sum(const QByteArray &block)
{
    quint32 sum = 0;
    for (int i = 0; i < 2044; ++i)
        sum += quint8(block[i]);
    return sum;
}

// Bank 1 with its checksum (at 0x7FC, little-endian) made right again after
// a test changed a byte.
inline void Restamp(QByteArray &bank1)
{
    const quint32 sum = Own_Sum(bank1);
    for (int i = 0; i < 4; ++i)
        bank1[0x7FC + i] = char((sum >> (8 * i)) & 0xFF);
}

} // namespace fixture
