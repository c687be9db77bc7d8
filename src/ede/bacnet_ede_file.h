#pragma once

#include "core/result.h"
#include "ede/ede_format.h"
#include "params/pargen_values.h"

#include <QDateTime>
#include <QList>
#include <array>

struct Configuration_Snapshot;
struct Workspace;
class ParGen_Document;
class Object_Document;

// One EDE export: the device settings read from "ParGen.xml", one instance
// counter per object type and the objects collected from
// "BACnet_Slave_SetAccess.xml". Each export starts from a fresh object, so
// nothing carries over from one export to the next.
class EDE_File
{
public:
    // Reads the device instance (BACnet_Ser_DEV_IDE when BACnet_Type reads as
    // 1, MS/TP; else BACnet_DEV_IDE) and the long-names flag
    // (BACnet_Desc_Chars_Limit exactly "1"). A missing file or key leaves the
    // instance empty and the names short. A damaged file fails with the
    // document's problem (file, line, column).
    Result<> Read_Device_Settings(const ParGen_Document &document);

    // Appends the objects of the groups BACnet_in_Read, then BACnet_in_Write,
    // every row in document order. A missing file adds nothing. Fails, with a
    // composed message, when the file is damaged, lacks a group, or a row's
    // Mnemonic or Eng_Unit holds a text that would break the columns (a ";",
    // a line break, or a double quote at its start); the objects are then
    // incomplete and must not be written.
    Result<> Collect_Objects(const Object_Document &objects);

    // Appends the object of one row. `settable` (an object of the Write
    // table) and `address` (EDE_Vendor_Address) go into the standard
    // layout only.
    void Add_Object(const QString &data_type, const QString &eng_unit, const QString &mnemonic, bool settable = false,
                    const QString &address = QString());

    // The current value of the counter of `code`, which then goes up by one.
    // Codes the converter does not serve share the analog inputs' counter, as
    // unknown data types do.
    int Next_EDE_Instance(int code);

    // Header and object lines of the file, without line ends.
    QStringList Lines(const QString &project_name, const QString &time_stamp) const;

    // The standard layout's files, without line ends: the main file and the
    // state-text, unit and object-type files.
    QStringList Standard_Lines(const QString &project_name, const QString &time_stamp) const;
    QStringList State_Text_Lines() const;
    QStringList Unit_Lines() const;

    const QString &Device_Instance() const { return device_instance_; }
    // The ParGen key the device instance came from.
    ParGen_Key Device_Key() const { return device_key_; }
    const QList<EDE_Classic_Obj> &Objects() const { return objects_; }

private:
    QString device_instance_;
    ParGen_Key device_key_ = ParGen_Key::BACnet_DEV_IDE;
    bool long_names_ = false;
    std::array<int, EDE_Type_Count> counters_{};
    QList<EDE_Classic_Obj> objects_;
    QList<EDE_Standard_Obj> standard_;
    int state_text_references_ = 0; // one per multi-state object, numbered from 1
};

// Runs one export of the open configuration into `file_name` (used as
// given), stamped with the local time `at`. Nothing is written unless the
// whole file can be; the file is replaced atomically. Fails with a composed
// message: no configuration open or its folder gone (message 18, see
// Check_Configuration_Folder), a damaged document, a missing object group, a
// text that would break the columns, or a failed write.
//
// The standard layout writes its companion files beside `file_name`
// (EDE_Files_For) all or none: every file goes to a temporary first, and
// only once all are written do they replace their targets.
Result<> Create_EDE_File(const Configuration_Snapshot &configuration, const QString &file_name, const QDateTime &at,
                         const EDE_Options &options = {});
// The same, reading the open configuration of `ws` first.
Result<> Create_EDE_File(const Workspace &ws, const QString &file_name, const QDateTime &at,
                         const EDE_Options &options = {});

// What step 5 does with the name the save dialog returned: the name with
// ".csv", and whether a file of that name exists (in the standard layout,
// or one of its companion files), so that the window asks before replacing
// it (Msg_File_Overwrite; only Yes goes on).
struct EDE_Target
{
    QString file_name;
    bool ask_overwrite = false;
};
EDE_Target EDE_Target_For(const QString &chosen, EDE_Layout layout = EDE_Layout::Classic);
